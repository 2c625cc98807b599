#pragma once

#include <string>

// The progress of a recording on one line of standard error, rewritten for every frame, when
// that is a terminal: "frame 1500 00:01:00.000  (201 of 750)".
class ProgressLine
{
public:
    enum Visibility
    {
        Hidden,
        Shown,
    };

    // The range of frames that progress is shown against.
    ProgressLine(Visibility visibility, int from, int to)
        : m_visibility(visibility), m_from(from), m_to(to)
    {}
    ~ProgressLine() { end(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // frameText is the frame's number and time.
    void show(const std::string& frameText, int frame);
    // Ends the line, so that what follows starts on a line of its own.
    void end();

private:
    Visibility m_visibility;
    int m_from;
    int m_to;
    bool m_lineShown = false;
};
