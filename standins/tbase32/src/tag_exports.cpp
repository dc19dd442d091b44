// Tags: adding, describing, walking, enabling and tuning.
#include <cmath>
#include <cstring>

#include "api_state.h"
#include "name_rules.h"

using namespace tbase;

namespace {

TagInfo describedTag(const char *description, const char *units, double high, double low, double deadband) {
    TagInfo info;
    info.description = checkedText(description, TBASE_MAX_DESCRIPTION, "Tag description");
    info.units = checkedText(units, TBASE_MAX_UNITS, "Tag units");
    if (std::isnan(high) || std::isnan(low)) fail(TBASE_E_ARGUMENT, "A tag limit is not a number");
    if (!std::isfinite(deadband) || deadband < 0.0) fail(TBASE_E_ARGUMENT, "A tag deadband must be 0 or more");
    info.high = high;
    info.low = low;
    info.deadband = deadband;
    return info;
}

int copyTagName(TBaseDataSetObject &dataSet, char *name, int nameSize) {
    const auto &tags = dataSet.writer.tags();
    if (dataSet.nextTag >= tags.size()) return 0;
    copyOut(tags[dataSet.nextTag]->info.name, name, nameSize);
    ++dataSet.nextTag;
    return 1;
}

Tag &existingTag(TBaseDataSetObject &dataSet, const char *name) {
    requireArgument(name != nullptr, "Tag name");
    Tag *tag = dataSet.writer.findTag(name);
    if (!tag) fail(TBASE_E_TAG_UNKNOWN, "Data set " + dataSet.writer.files().name + " has no tag " + name);
    return *tag;
}

} // namespace

extern "C" {

TBASE_API TBaseTag TBaseAddTag(TBaseDataSet dataSet, const char *name, const char *description, const char *units,
                               double high, double low, double deadband) {
    return guarded<TBaseTag>(nullptr, [&](const Registry &) {
        TBaseDataSetObject &open = dataSetOf(dataSet);
        checkTagName(name);
        TagInfo info = describedTag(description, units, high, low, deadband);
        info.name = name;
        return handleOf(open.writer.addTag(std::move(info)), open);
    });
}

TBASE_API int TBaseModifyTagInfo(TBaseTag tag, const char *description, const char *units, double high, double low,
                                 double deadband) {
    return guarded(-1, [&](const Registry &) {
        Tag &known = tagOf(tag);
        ownerOf(tag).writer.modifyTag(known, describedTag(description, units, high, low, deadband));
        return 0;
    });
}

TBASE_API int TBaseGetTagCount(TBaseDataSet dataSet) {
    return guarded(-1, [&](const Registry &) { return static_cast<int>(dataSetOf(dataSet).writer.tags().size()); });
}

TBASE_API int TBaseGetFirstTagName(TBaseDataSet dataSet, char *name, int nameSize) {
    return guarded(-1, [&](const Registry &) {
        TBaseDataSetObject &open = dataSetOf(dataSet);
        open.nextTag = 0;
        return copyTagName(open, name, nameSize);
    });
}

TBASE_API int TBaseGetNextTagName(TBaseDataSet dataSet, char *name, int nameSize) {
    return guarded(-1, [&](const Registry &) { return copyTagName(dataSetOf(dataSet), name, nameSize); });
}

TBASE_API TBaseTag TBaseOpenTag(TBaseDataSet dataSet, const char *name) {
    return guarded<TBaseTag>(nullptr, [&](const Registry &) {
        TBaseDataSetObject &open = dataSetOf(dataSet);
        return handleOf(existingTag(open, name), open);
    });
}

TBASE_API int TBaseCloseTag(TBaseTag tag) {
    return guarded(-1, [&](const Registry &) {
        tagOf(tag);
        return 0;
    });
}

TBASE_API TBaseTag TBaseEnableTagLogging(TBaseDataSet dataSet, const char *name) {
    return guarded<TBaseTag>(nullptr, [&](const Registry &) {
        TBaseDataSetObject &open = dataSetOf(dataSet);
        Tag &tag = existingTag(open, name);
        open.writer.enable(tag);
        return handleOf(tag, open);
    });
}

TBASE_API int TBaseDisableTagLogging(TBaseTag tag) {
    return guarded(-1, [&](const Registry &) {
        ownerOf(tag).writer.disable(tagOf(tag));
        return 0;
    });
}

TBASE_API int TBaseDisableAllTagLogging(TBaseDataSet dataSet) {
    return guarded(-1, [&](const Registry &) {
        dataSetOf(dataSet).writer.disableAll();
        return 0;
    });
}

TBASE_API int TBaseSetAllTagTuning(TBaseDataSet dataSet, const void *tuning, int wordCount) {
    return guarded(-1, [&](const Registry &) {
        DataSetWriter &writer = dataSetOf(dataSet).writer;
        requireArgument(tuning != nullptr, "Tuning block");
        if (wordCount != 1 && wordCount != 3) fail(TBASE_E_ARGUMENT, "A tuning block has 1 or 3 words");
        TBaseTagTuning block{};
        std::memcpy(&block, tuning, static_cast<std::size_t>(wordCount) * 4);
        Tuning settings = writer.tuning();
        settings.deadbandScale = block.deadbandScale;
        if (wordCount == 3) settings.longestUnstoredTime = block.longestUnstoredTime;
        if (!std::isfinite(settings.deadbandScale) || settings.deadbandScale < 0.0 ||
            !std::isfinite(settings.longestUnstoredTime) || settings.longestUnstoredTime < 0.0)
            fail(TBASE_E_ARGUMENT, "Tuning values must be finite and 0 or more");
        writer.setTuning(settings);
        return 0;
    });
}

TBASE_API int TBaseTriggerAllTags(TBaseDataSet dataSet) {
    return guarded(-1, [&](const Registry &) {
        dataSetOf(dataSet).writer.triggerAll();
        return 0;
    });
}

TBASE_API int TBaseGetNumUpdateTags(TBaseDataSet dataSet) {
    return guarded(-1, [&](const Registry &) { return static_cast<int>(dataSetOf(dataSet).writer.updateTagCount()); });
}

} // extern "C"
