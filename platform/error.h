#pragma once

// The one way a failure travels: what failed, the file it concerns, the system's errno and the
// library's own text, carried by Result<T> from where it happens to the one place that puts it
// into words (the windows through their translations, the command line in English).

#include <string>
#include <utility>
#include <variant>

enum class Failure
{
    OpenVideo,       // the file is no video the program reads; detail says why
    NoFrames,        // a video stream without a single frame
    FrameSize,       // the frames' size can't be shown or saved
    NoDecoder,       // the frames can't be decoded; detail says why
    NothingDecoded,  // no frame decoded yet, or the wanted one could not be decoded
    NotAnImageType,  // a file name whose extension is none of jpg, png or bmp
    CreateFolder,    // a folder could not be made; detail says why
    WriteFile,       // a file could not be created or written
    FileAccess,      // reading or writing an open file failed, as on a full disk
    Library,         // a library failed inside a file; detail is its text
};

struct Error
{
    Failure what = Failure::WriteFile;
    std::string path;    // the file or folder concerned, empty when none
    int systemError = 0; // errno, 0 when the system gave none
    std::string detail;  // the library's own words, empty when none
};

// Either a value or the Error that stood in its way.
template <class T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : m_value(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return m_value.index() == 0; }
    T& operator*() { return std::get<0>(m_value); }
    const T& operator*() const { return std::get<0>(m_value); }
    T* operator->() { return &std::get<0>(m_value); }
    const T* operator->() const { return &std::get<0>(m_value); }
    const Error& error() const { return std::get<1>(m_value); }

private:
    std::variant<T, Error> m_value;
};

// A result with nothing in it but success.
struct Done
{};
using Outcome = Result<Done>;

// The error in English, as the command line tells it: "can't open PATH: REASON", "Sorry, can't
// write the file PATH. No space left on device."
std::string EnglishText(const Error& error);
