// The state of the progress window that every user interface keeps alike:
// visible or not, and whether Abort was pressed since it was last shown.
#pragma once

namespace korvel {

class ProgressState {
public:
    // True when the window was hidden and has just been shown.
    bool show() {
        if (shown_) return false;
        shown_ = true;
        abortRequested_ = false;
        return true;
    }
    void hide() { shown_ = abortRequested_ = false; }
    void requestAbort() { abortRequested_ = shown_; }
    bool shown() const { return shown_; }
    bool abortRequested() const { return abortRequested_; }

private:
    bool shown_ = false;
    bool abortRequested_ = false;
};

} // namespace korvel
