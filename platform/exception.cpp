#include "platform/exception.h"

#include <algorithm>
#include <cstring>

bool CException::GetErrorMessage(char* buffer, unsigned maxChars, unsigned*) const
{
    if (buffer == nullptr || maxChars == 0)
        return true;
    const std::string text = ErrorText();
    const size_t count = std::min<size_t>(text.size(), maxChars - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return true;
}

const char* CException::what() const noexcept
{
    try {
        m_what = ErrorText();
    } catch (...) {
        return "error";
    }
    return m_what.c_str();
}

CFileException::CFileException(std::string path, int error)
    : m_path(std::move(path)), m_error(error)
{}

std::string CFileException::ErrorText() const
{
    return "An error occurred while accessing " + m_path + ": " + std::strerror(m_error) + ".";
}
