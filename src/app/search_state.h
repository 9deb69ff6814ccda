#pragma once

#include <optional>

namespace app {

// The local search of the search window as its handlers see it, kept apart
// from the controls that show it.
class LocalSearchState {
public:
    // The click. False while a search works: the click then changes nothing.
    [[nodiscard]] bool mayStart() const { return !underWay_; }
    // The search is being started; `started` says whether its work runs.
    void starting() { searched_ = true; }
    void started(bool started) { underWay_ = started; }
    // Its end has come and is being shown.
    void ended() { underWay_ = false; }
    [[nodiscard]] bool underWay() const { return underWay_; }
    // Set by the first search and kept for the window's life: "Abbrechen"
    // then asks a search that may run to stop, and ends the patience marks.
    [[nodiscard]] bool searched() const { return searched_; }

private:
    bool searched_ = false;
    bool underWay_ = false;
};

// The search window's close: asked for by a handler with the result the
// window closes with, and held back while work that may still change the
// result goes on (the search, the list build, a handler that shows a box).
class PendingClose {
public:
    void hold() { ++holds_; }
    void release() {
        if (holds_ > 0)
            --holds_;
    }
    // Asks for the close; the result may change until it is taken.
    void ask(int result) {
        result_ = result;
        asked_ = true;
    }
    void setResult(int result) { result_ = result; }
    [[nodiscard]] int result() const { return result_; }

    // The result to close with now: none while work holds the close or
    // nobody asked for it. A taken close is not taken again.
    [[nodiscard]] std::optional<int> take() {
        if (holds_ > 0 || !asked_)
            return std::nullopt;
        asked_ = false;
        return result_;
    }

private:
    int result_ = 0; // QDialog::Rejected
    int holds_ = 0;
    bool asked_ = false;
};

} // namespace app
