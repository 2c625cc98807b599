#pragma once

// The one way a failure travels: what failed, the file it concerns, the system's errno and the
// library's own text, carried by Result<T> from where it happens to the one place that puts it
// into words (the windows through their translations, the command line in English).

#include <string>
#include <utility>
#include <variant>
#include <vector>

enum class Failure
{
    OpenVideo,      // the file is no video the program reads; detail says why
    OpenStopped,    // the read through the file that opening it needs was stopped
    NoFrames,       // a video stream without a single frame
    FrameSize,      // the frames' size can't be shown or saved
    NoDecoder,      // the frames can't be decoded; detail says why
    NothingDecoded, // no frame decoded yet, or the wanted one could not be decoded
    NotAnImageType, // a file name whose extension is none of jpg, png or bmp
    CreateFolder,   // a folder could not be made; detail says why
    WriteFile,      // a file could not be created or written
    FileAccess,     // reading or writing an open file failed, as on a full disk
    Library,        // a library failed inside a file; detail is its text
    System,         // nothing but the system's errno to say
    Reason,         // nothing but a reason in the words of whoever gave it: detail
    EmptyPicture,   // a picture to be saved holds nothing
    // A file name pattern (figures[0]) that can't name a recording's files:
    NamePatternNoNumber,    // it holds neither {frame} nor {count}
    NamePatternCharacter,   // it holds detail ("/"), another control character, or starts with "."
    NamePatternPlaceholder, // detail is no placeholder it knows
    SheetTooLarge,          // a contact sheet would be figures[0] ("WxH"), taller than one is drawn
    // The settings file; path is the file.
    NotRegularFile,    // it is not a regular file
    SettingsTooLarge,  // it is larger than a settings file can be
    UnstorableSetting, // a value holds a line break, or a name can't be stored
    // The batch tools.
    NoMemoryToAverage, // the average of the images, or of the file at path, needs more memory
    NoMemoryToMake,    // the file at path needs more memory than there is
    MakeResult,        // the result of the source at path could not be made; detail says why
    SourceInTheWay,    // path is a source to be written over that can't go to the trash
    SourceChanged,     // a source changed after it was read
    SumsOverBudget,    // a source's sums would take more than figures[0] MiB
    ResultTooLarge,    // a source's result of figures[0] ("WxH") needs more memory than there is
    ResultOverFormat,  // a source's result of figures[0] is larger than a figures[1] file holds
    ResultOverBudget,  // a result of figures[0] would take figures[1], more than figures[2]
    ResultNameTaken,   // a source's result would take path, another file of the run
    // The trash.
    TrashFolder, // the trash folder at path can't be created
    TrashEntry,  // a file's entry in the trash can't be written
    TrashFull,   // the trash holds too many files of the name
};

struct Error
{
    Error() = default;
    Error(Failure what, std::string path = {}, int systemError = 0, std::string detail = {},
          std::vector<std::string> figures = {})
        : what(what), path(std::move(path)), systemError(systemError), detail(std::move(detail)),
          figures(std::move(figures))
    {}

    Failure what = Failure::WriteFile;
    std::string path;                 // the file or folder concerned, empty when none
    int systemError = 0;              // errno, 0 when the system gave none
    std::string detail;               // the library's own words, empty when none
    std::vector<std::string> figures; // sizes and amounts the words need, in their order
};

// Either a value or the Error that stood in its way.
template <class T> class [[nodiscard]] Result
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
{
};
using Outcome = Result<Done>;

// The error in English, as the command line tells it: "can't open PATH: REASON", "Sorry, can't
// write the file PATH. No space left on device."
std::string EnglishText(const Error& error);
