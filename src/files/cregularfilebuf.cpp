#include "files/cregularfilebuf.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "files/safefile.h"

CRegularFileBuf::~CRegularFileBuf()
{
    if (m_iFd >= 0)
        ::close(m_iFd);
}

bool CRegularFileBuf::open(const std::string& fileName)
{
    if (m_iFd >= 0)
        ::close(m_iFd);
    m_sError.clear();
    setg(m_aBuffer, m_aBuffer, m_aBuffer);
    m_iFd = openRegularFile(fileName, m_sError);
    return m_iFd >= 0;
}

CRegularFileBuf::int_type CRegularFileBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (m_iFd < 0)
        return traits_type::eof();
    ssize_t n = 0;
    do
        n = ::read(m_iFd, m_aBuffer, sizeof m_aBuffer);
    while (n < 0 && errno == EINTR);
    if (n <= 0)
    {
        if (n < 0)
            m_sError = std::strerror(errno);
        return traits_type::eof();
    }
    setg(m_aBuffer, m_aBuffer, m_aBuffer + n);
    return traits_type::to_int_type(*gptr());
}
