/*
 * tbase32 — the Trend Link historian: tagged time series kept in data sets.
 *
 * A data set is a name registered in infolink.ini with the directory that
 * holds its files:
 *   NAME.KEY           its tags and batches (SQLite)
 *   NAME.NOW           the current values file (SQLite, write-ahead log)
 *   NAME.nnnnn.HIS     values files rolled over from the .NOW file, numbered
 *                      from 00001 upwards, kept beside it and read with it
 *   NAME.LCK           held (flock) while a program has the data set open
 * Several data sets may share one directory.
 *
 * infolink.ini lies in the directory named by the environment variable
 * TBASE32_INFOLINK_DIR, else beside libtbase32.so. Its section [Data Sets]
 * maps each data set name to its directory; [TL Settings] "TLLocal Path"
 * names the directory of the chart program's tllocal.ini (empty: the Trend
 * Link directory).
 *
 * Times are milliseconds since 1970-01-01 00:00 GMT, held as doubles.
 *
 * Results: a function returning a handle or pointer fails with NULL; the
 * others return 0 (or a count, or 1 where stated) on success and -1 on
 * failure. After a failure TBaseGetLastErrorNumber and
 * TBaseGetLastErrorString tell why; a call that succeeds sets the number to
 * 0. Errors are kept per thread; calls from several threads are serialised.
 *
 * Values are stored by TBaseWriteProcessing: once it has returned 0 every
 * value queued before the call is on disk (a synchronous commit), so a crash
 * or a kill of the program afterwards loses none of them.
 *
 * Free disk space: a store that would leave less than TBASE_DISK_RESERVE
 * bytes free in the data set's directory fails with TBASE_E_DISK_FULL (9105)
 * and keeps the values queued, so that a later call stores them once there
 * is room. When TBASE32_FREE_SPACE_FILE names a readable file, the decimal
 * number in it is taken as the free space instead of asking the file system
 * (read at every check, so a test can change it while a program runs).
 */
#ifndef TBASE32_H
#define TBASE32_H

#include <stdint.h>

#if defined(TBASE32_BUILDING)
#define TBASE_API __attribute__((visibility("default")))
#else
#define TBASE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Limits -------------------------------------------------------------- */

#define TBASE_MAX_DATA_SETS 250    /* data sets registered in infolink.ini */
#define TBASE_MAX_NAME 63          /* characters of a data set or batch name */
#define TBASE_MAX_TAG_NAME 31      /* characters of a tag name */
#define TBASE_MAX_TAGS 1000        /* tags of one data set */
#define TBASE_MAX_DESCRIPTION 63   /* characters of a tag or data set description */
#define TBASE_MAX_UNITS 15         /* characters of a tag's units */
#define TBASE_MAX_QUEUED 1000000   /* values queued and not yet stored */
#define TBASE_DISK_RESERVE 1048576 /* bytes a store leaves free */
#define TBASE_NO_LIMIT 3.0e38      /* a tag limit that is not set (+ high, - low) */

/* ---- Error numbers (append-only) ----------------------------------------- */

#define TBASE_OK 0
#define TBASE_E_NOT_INITIALISED 9001    /* call before TBaseInitTBase */
#define TBASE_E_ARGUMENT 9002           /* null, empty, too long or malformed argument */
#define TBASE_E_HANDLE 9003             /* a data set or tag handle that is not open */
#define TBASE_E_INFOLINK 9010           /* infolink.ini cannot be read or written */
#define TBASE_E_DATA_SET_UNKNOWN 9011   /* name not registered in infolink.ini */
#define TBASE_E_DATA_SET_EXISTS 9012    /* name already registered */
#define TBASE_E_TOO_MANY_DATA_SETS 9013 /* TBASE_MAX_DATA_SETS registered */
#define TBASE_E_DATA_SET_IN_USE 9014    /* another handle or program has the data set open */
#define TBASE_E_BUFFER_TOO_SMALL 9015   /* the caller's buffer cannot hold the result */
#define TBASE_E_TAG_UNKNOWN 9020        /* no tag of that name in the data set */
#define TBASE_E_TOO_MANY_TAGS 9022      /* TBASE_MAX_TAGS in the data set */
#define TBASE_E_TAG_DISABLED 9023       /* value for a tag whose logging is disabled */
#define TBASE_E_QUEUE_FULL 9030         /* TBASE_MAX_QUEUED values wait for TBaseWriteProcessing */
#define TBASE_E_BATCH_OPEN 9040         /* TBaseAddBatch while a batch is open */
#define TBASE_E_NO_BATCH_OPEN 9041      /* TBaseEndBatch without a matching open batch */
#define TBASE_E_FILE 9100               /* a data set file or directory cannot be used */
#define TBASE_E_DATABASE 9101           /* the data set's files are damaged or unreadable */
#define TBASE_E_DISK_FULL 9105          /* not enough free disk space */

/* ---- Handles ------------------------------------------------------------- */

/* An open data set; valid until TBaseCloseDataSet. */
typedef struct TBaseDataSetObject *TBaseDataSet;
/* A tag of an open data set; valid until its data set is closed. */
typedef struct TBaseTagObject *TBaseTag;

/* The tuning block of TBaseSetAllTagTuning: 32-bit words without padding. */
#pragma pack(push, 4)
typedef struct TBaseTagTuning {
    float deadbandScale;        /* word 0: each tag's deadband is multiplied by it (1.0: as given) */
    double longestUnstoredTime; /* words 1-2: ms after which a value is stored even within the
                                   deadband (0: never) */
} TBaseTagTuning;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(TBaseTagTuning) == 12, "the tuning block is three 32-bit words");
#else
_Static_assert(sizeof(TBaseTagTuning) == 12, "the tuning block is three 32-bit words");
#endif

/* ---- Start --------------------------------------------------------------- */

/* Finds infolink.ini (creating it with an empty [TL Settings] "TLLocal Path"
 * when it is missing). Returns 0; -1 when the file cannot be made. May be
 * called again: it looks for infolink.ini anew. */
TBASE_API int TBaseInitTBase(void);

/* Copies the full path of infolink.ini; returns its length. */
TBASE_API int TBaseGetInfolinkPath(char *path, int pathSize);

/* ---- Data sets ----------------------------------------------------------- */

/* Registers name (1..TBASE_MAX_NAME characters, none of / \ = or control
 * characters, no blank at either end, not starting with ; or [) with an
 * absolute directory. Names match without regard to case. The directory
 * need not exist yet. Fails when the name is registered already. */
TBASE_API int TBaseAddDataSet(const char *name, const char *directory);

/* Copies the directory registered for name; returns its length. */
TBASE_API int TBaseGetDataSetPath(const char *name, char *directory, int directorySize);

/* Removes name from infolink.ini. The files stay where they are (they are
 * the user's data); registering the name again with the same directory
 * finds them. Fails while the data set is open. */
TBASE_API int TBaseDeleteDataSet(const char *name);

/* Copies the registered names, each ended by a zero byte, the list ended by
 * one more; returns how many there are. */
TBASE_API int TBaseGetDataSetList(char *names, int namesSize);

/* Opens a registered data set for writing, creating its KEY file in its
 * directory (which must exist) when it has none. A non-empty description
 * (at most TBASE_MAX_DESCRIPTION characters) replaces the stored one. Only
 * one handle in one program may have a data set open. The .NOW file is made
 * when the first tag is added or the first value stored, not by the open.
 * A batch left open by a program that ended without closing the data set is
 * ended at the data set's newest time + 1 ms. */
TBASE_API TBaseDataSet TBaseOpenDataSet(const char *name, const char *description);

/* finish 1: stores the queued values and completes a rollover first (a
 * failure to do so is reported, the data set is closed all the same);
 * finish 0: drops them. A data set that has tags but lost its .NOW file
 * (a rollover cut short) gets a new empty one. The handle and its tags are
 * invalid afterwards. */
TBASE_API int TBaseCloseDataSet(TBaseDataSet dataSet, int finish);

/* The .NOW file's path (even while it does not exist) and its size in bytes
 * (0 while it does not exist); sizeBytes may be NULL. */
TBASE_API int TBaseGetNOWInformation(TBaseDataSet dataSet, char *path, int pathSize, int64_t *sizeBytes);

/* Rolls the .NOW file over: it becomes the next NAME.nnnnn.HIS file and a
 * new empty .NOW file takes its place. Values queued before the call go into
 * the rolled-over file. background 1: the work is done by the following
 * TBaseWriteProcessing calls (TBaseRollOverInProgress reports 1 until then;
 * it waits while a reader is inside the .NOW file); background 0: done
 * before the call returns. A .NOW file without values is not rolled over. */
TBASE_API int TBaseRollOverNOWFile(TBaseDataSet dataSet, int background);

/* 1 while a rollover asked for is not complete, else 0. */
TBASE_API int TBaseRollOverInProgress(TBaseDataSet dataSet);

/* ---- Tags ---------------------------------------------------------------- */

/* Adds a tag (1..TBASE_MAX_TAG_NAME characters, no : or control characters,
 * no blank at either end; names match without regard to case) and enables
 * its logging: it joins the end of the update order. high and low are the
 * tag's limits (TBASE_NO_LIMIT and -TBASE_NO_LIMIT when there are none);
 * deadband >= 0 is the change a value must exceed to be stored (0: every
 * value is stored). Needs free disk space (TBASE_E_DISK_FULL). A tag of that
 * name that the data set has already is described anew and enabled, its
 * values kept: the same handle is returned. */
TBASE_API TBaseTag TBaseAddTag(TBaseDataSet dataSet, const char *name, const char *description, const char *units,
                               double high, double low, double deadband);

/* Replaces the description, units, limits and deadband of a tag. */
TBASE_API int TBaseModifyTagInfo(TBaseTag tag, const char *description, const char *units, double high, double low,
                                 double deadband);

/* Number of tags in the data set. */
TBASE_API int TBaseGetTagCount(TBaseDataSet dataSet);

/* The tags' names in the order they were added: 1 with the name copied, 0
 * when there is none (more), -1 on failure. First starts the walk over. */
TBASE_API int TBaseGetFirstTagName(TBaseDataSet dataSet, char *name, int nameSize);
TBASE_API int TBaseGetNextTagName(TBaseDataSet dataSet, char *name, int nameSize);

/* The handle of an existing tag, its logging left as it is. */
TBASE_API TBaseTag TBaseOpenTag(TBaseDataSet dataSet, const char *name);

/* Tells the historian the caller is done with the handle. Tag handles belong
 * to their data set and stay valid until it is closed. */
TBASE_API int TBaseCloseTag(TBaseTag tag);

/* Enables logging of an existing tag and returns it; a tag not yet enabled
 * joins the end of the update order. NULL when there is no such tag. */
TBASE_API TBaseTag TBaseEnableTagLogging(TBaseDataSet dataSet, const char *name);

/* Takes a tag (or all tags) out of the update order; their values are
 * refused until they are enabled again. */
TBASE_API int TBaseDisableTagLogging(TBaseTag tag);
TBASE_API int TBaseDisableAllTagLogging(TBaseDataSet dataSet);

/* Sets the tuning of every tag from wordCount 32-bit words of a
 * TBaseTagTuning block: 1 sets the deadband scale only, 3 sets both. */
TBASE_API int TBaseSetAllTagTuning(TBaseDataSet dataSet, const void *tuning, int wordCount);

/* Queues the last value given to each enabled tag for storing even where the
 * deadband held it back, so that the data set ends on the current values. */
TBASE_API int TBaseTriggerAllTags(TBaseDataSet dataSet);

/* Number of enabled tags: the values per scan of TBaseUpdateAllTags. */
TBASE_API int TBaseGetNumUpdateTags(TBaseDataSet dataSet);

/* ---- Values -------------------------------------------------------------- */

/* Gives one value of an enabled tag at time (ms since 1970 GMT). It is
 * queued for storing unless the deadband holds it back. A value at the time
 * of a stored one replaces it. NaN is refused. */
TBASE_API int TBaseUpdateTag(TBaseTag tag, double time, double value);

/* Gives scanCount scans at once: times[i] is scan i's time and values holds
 * scanCount rows of TBaseGetNumUpdateTags floats, one per enabled tag in the
 * update order. All or nothing: a NaN or an unusable time refuses the call. */
TBASE_API int TBaseUpdateAllTags(TBaseDataSet dataSet, int scanCount, const double *times, const float *values);

/* Stores queued values (up to 50 000 per call) and carries out a rollover
 * asked for. Returns 1 when work remains (call again), 0 when everything
 * queued is stored, -1 on failure (the values stay queued). */
TBASE_API int TBaseWriteProcessing(TBaseDataSet dataSet);

/* Reads back stored values of one tag of a registered data set, open or not
 * (values still queued are not yet visible): at most maxCount values with
 * afterTime < time <= untilTime in time order, from the rolled-over files
 * and the .NOW file. Returns how many were copied; to read on, call again
 * with afterTime = the last time returned. */
TBASE_API int TBaseFetchData(const char *dataSetName, const char *tagName, double afterTime, double untilTime,
                             double *times, double *values, int maxCount);

/* The newest time stored in the data set (any tag, any file); 0.0 when it
 * holds no value, -1.0 on failure. */
TBASE_API double TBaseGetNewestTime(TBaseDataSet dataSet);

/* ---- Batches ------------------------------------------------------------- */

/* Begins a batch (name 1..TBASE_MAX_NAME characters) at startTime. One batch
 * may be open at a time. */
TBASE_API int TBaseAddBatch(TBaseDataSet dataSet, const char *name, double startTime);

/* Ends the open batch, which began at startTime, at endTime (>= startTime). */
TBASE_API int TBaseEndBatch(TBaseDataSet dataSet, double startTime, double endTime);

/* The batches in order of their start: 1 with the batch's name and times
 * copied (endTime 0.0 while it is open; either time pointer may be NULL), 0
 * when there is none (more), -1 on failure. First starts the walk over. */
TBASE_API int TBaseGetFirstBatchInfo(TBaseDataSet dataSet, char *name, int nameSize, double *startTime,
                                     double *endTime);
TBASE_API int TBaseGetNextBatchInfo(TBaseDataSet dataSet, char *name, int nameSize, double *startTime, double *endTime);

/* ---- Errors -------------------------------------------------------------- */

/* The error number of this thread's last call: 0 after a success. */
TBASE_API int TBaseGetLastErrorNumber(void);

/* Its text, naming the file, tag or argument concerned; "" after a success.
 * Valid until this thread's next call. */
TBASE_API const char *TBaseGetLastErrorString(void);

#ifdef __cplusplus
}
#endif

#endif /* TBASE32_H */
