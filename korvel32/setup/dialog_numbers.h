// How the configuration dialogs show numbers and read back what was typed.
// Typed numbers are read in the regional decimal format, a text that is not
// a number reads as 0, and bounds include both ends.
#pragma once

#include <optional>
#include <string>

namespace korvel {

// "%g", "%.3f" and "%#g" with the regional decimal character for the point.
std::string gText(double value, char decimalSymbol);
std::string secondsText(double value, char decimalSymbol);
std::string alternateGText(double value, char decimalSymbol);

// The value of a typed number.
double typedValue(const std::string &text, char decimalSymbol);
bool typedWithin(const std::string &text, double lowest, double highest, char decimalSymbol);

// A field that takes a whole number: blanks around the digits are allowed and
// an empty field reads 0; anything else (a sign, a point, a letter) is no
// whole number.
std::optional<unsigned long> typedWholeNumber(const std::string &text);

// A number field. While its text is the one shown for the value it was given,
// it stands for that value exactly, so that a dialog opened and closed with
// OK changes nothing that it shows with fewer digits than it stores.
class NumberField {
public:
    NumberField() = default;
    NumberField(double value, std::string shownText) : value_(value), text_(shownText), shown_(std::move(shownText)) {}

    const std::string &text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    double value(char decimalSymbol) const;
    bool within(double lowest, double highest, char decimalSymbol) const;

private:
    double value_ = 0.0;
    std::string text_;
    std::string shown_;
};

} // namespace korvel
