#pragma once

#include <exception>
#include <string>

// Base of the errors that end a user command and are shown to the user with their own text.
class CException : public std::exception
{
public:
    // Copies the text into buffer, at most maxChars - 1 characters and a terminating zero.
    // The help context is left as it is. Returns true.
    virtual bool GetErrorMessage(char* buffer, unsigned maxChars,
                                 unsigned* helpContext = nullptr) const;
    virtual std::string ErrorText() const = 0;

    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};

// A file operation failed below the open: a read or write error such as a full disk.
class CFileException : public CException
{
public:
    CFileException(std::string path, int error);

    std::string ErrorText() const override;
    const std::string& Path() const { return m_path; }
    int Error() const { return m_error; }

private:
    std::string m_path;
    int m_error;
};
