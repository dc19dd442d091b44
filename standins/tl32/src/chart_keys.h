// The sections and keys of a chart file (.cht, a profile file) that the chart
// program reads and the logger writes when it prepares a data set's chart.
#pragma once

namespace tl32 {

inline constexpr char kMainSection[] = "Canary Labs - Trend Link Chart: Main Section";
inline constexpr char kTitleKey[] = "Title";
inline constexpr char kWindowXKey[] = "Application Window X";
inline constexpr char kWindowYKey[] = "Application Window Y";
inline constexpr char kWindowWidthKey[] = "Application Window Width";
inline constexpr char kWindowHeightKey[] = "Application Window Height";
inline constexpr char kFontNameKey[] = "Font Name";
inline constexpr char kFontFamilyKey[] = "Font Family";
inline constexpr char kFontCharacterSetKey[] = "Font Character Set";

inline constexpr char kCurveWindowSection[] = "Section: Curve Window";
inline constexpr char kNumberOfCurvesKey[] = "Number of Curves";
inline constexpr char kTimeSpanKey[] = "Time Span"; // seconds shown across the window

// "Section: Curve #1", "Section: Curve #2", ...
inline constexpr char kCurveSectionFormat[] = "Section: Curve #%u";
inline constexpr char kCurveNameKey[] = "Name"; // "data set:tag"
inline constexpr char kCurveTypeKey[] = "Type of Curve";
inline constexpr char kCurveColorKey[] = "Color"; // "#rrggbb"; the chart's palette when missing
inline constexpr char kCurveLineWidthKey[] = "Line Width";

inline constexpr int kPlainCurve = 1;      // the tag's values
inline constexpr int kCurveWithLimits = 2; // and its high and low limits

// Where infolink.ini says tllocal.ini lies.
inline constexpr char kInfolinkSettingsSection[] = "TL Settings";
inline constexpr char kLocalPathKey[] = "TLLocal Path";

// Section "Section: Main Window" of tllocal.ini.
inline constexpr char kLocalMainSection[] = "Section: Main Window";
inline constexpr char kApplicationTitleKey[] = "Application Title";
inline constexpr char kDefaultApplicationTitle[] = "Trend Link for Orrin";

} // namespace tl32
