#include "app/cstreamcapture.h"

CStreamCapture::CStreamCapture(std::ostream& stream) : m_stream(stream), m_pTarget(stream.rdbuf())
{
    m_stream.rdbuf(this);
}

CStreamCapture::~CStreamCapture()
{
    m_stream.rdbuf(m_pTarget);
}

std::string CStreamCapture::lastLine() const
{
    size_t end = m_sText.size();
    while (end > 0)
    {
        const size_t start = m_sText.rfind('\n', end - 1);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        if (end > from)
            return m_sText.substr(from, end - from);
        if (start == std::string::npos)
            break;
        end = start;
    }
    return "";
}

int CStreamCapture::overflow(int c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    keep(&ch, 1);
    return m_pTarget->sputc(ch);
}

std::streamsize CStreamCapture::xsputn(const char* s, std::streamsize n)
{
    keep(s, static_cast<size_t>(n));
    return m_pTarget->sputn(s, n);
}

int CStreamCapture::sync()
{
    return m_pTarget->pubsync();
}

void CStreamCapture::keep(const char* s, size_t n)
{
    m_sText.append(s, n);
    if (m_sText.size() > kKeep)
        m_sText.erase(0, m_sText.size() - kKeep);
}
