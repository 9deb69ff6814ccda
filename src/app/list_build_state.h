#pragma once

namespace app {

// The sorted-list build of the search window as its handlers see it, kept
// apart from the controls that show it.
class ListBuildState {
public:
    // What one tick of the abort wait asks of the window.
    enum class Tick { Nothing, CloseBuilder, CloseBuilderAndStopWaiting };

    // The builder's controls are shown: the next click builds again.
    void open() { stopRequested_ = false; }

    // From the start of the work until its outcome has been shown; the
    // controls stay locked meanwhile.
    void workStarted() {
        working_ = true;
        jobUnderWay_ = true;
    }
    void jobEnded() { jobUnderWay_ = false; }
    void outcomeShown() { working_ = false; }
    [[nodiscard]] bool working() const { return working_; }
    [[nodiscard]] bool jobUnderWay() const { return jobUnderWay_; }

    // The builder's stop, or a close of the window. True when work runs and
    // must be asked to stop: the builder then stays until the abort wait
    // closes it. False: the builder closes at once.
    [[nodiscard]] bool requestStop() {
        stopRequested_ = true;
        return working_;
    }
    [[nodiscard]] bool stopRequested() const { return stopRequested_; }

    // A stopped build ends without its "Fertig" or failure caption: the
    // abort wait closes the builder instead.
    [[nodiscard]] bool endCaptionShown() const { return !stopRequested_; }

    // The abort wait ticks once a second from the start of a build. After a
    // stop each tick closes the builder; the wait ends at the tenth tick
    // since the window was made.
    [[nodiscard]] Tick abortWaitTick() {
        ++ticks_;
        if (!stopRequested_)
            return Tick::Nothing;
        working_ = false;
        return ticks_ >= kTicksOfTheAbortWait ? Tick::CloseBuilderAndStopWaiting
                                              : Tick::CloseBuilder;
    }

private:
    static constexpr int kTicksOfTheAbortWait = 10;

    bool working_ = false;
    bool jobUnderWay_ = false;
    bool stopRequested_ = false;
    int ticks_ = 0;
};

} // namespace app
