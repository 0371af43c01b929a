#include "app/cstatsfile.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

#include "app/statsfile.h"
#include "files/writeall.h"

CStatsFile::~CStatsFile()
{
    closeFile();
}

bool CStatsFile::create(const std::string& fileName)
{
    closeFile();
    m_iWholeLength = 0;
    for (int n = 1; n <= kMaxRunsPerName; ++n)
    {
        m_sName = n == 1 ? fileName : numberedName(fileName, n);
        // Exclusive: an existing name of any kind, even a link to nowhere, is never opened.
        m_iFd = ::open(m_sName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_iFd >= 0)
        {
            *m_pLog << "Statistics go to " << m_sName << std::endl;
            return true;
        }
        if (errno != EEXIST)
        {
            warn("open", std::strerror(errno));
            return false;
        }
    }
    m_sName = fileName;
    warn("open", "It and every name up to " + numberedName(fileName, kMaxRunsPerName) + " are taken");
    return false;
}

bool CStatsFile::saveLine(double minutes, int dead, double best, double worst)
{
    if (!isOpen())
        return false;
    *m_pLog << "Saving game stats..";
    std::ostringstream line;
    line << minutes << "\t" << dead << "\t" << best << "\t" << worst << "\n";
    const bool written = append(line.str());
    const int error = errno; // before the message can change it
    *m_pLog << (written ? "done." : "failed.") << std::endl;
    if (!written)
        endAfterFailure(error);
    return written;
}

bool CStatsFile::close(int totalDead)
{
    if (!isOpen())
        return false;
    if (!append("\n\n\n\nOverall number of dead:" + std::to_string(totalDead) + "\n"))
    {
        endAfterFailure(errno);
        return false;
    }
    const int fd = m_iFd;
    m_iFd = -1;
    if (::close(fd) != 0)
    {
        warn("write", std::strerror(errno));
        return false;
    }
    return true;
}

bool CStatsFile::append(const std::string& text)
{
    if (!writeAll(m_iFd, text.data(), text.size()))
        return false;
    m_iWholeLength += static_cast<off_t>(text.size());
    return true;
}

void CStatsFile::endAfterFailure(int error)
{
    const std::string reason = std::strerror(error);
    // A line cut short would make the whole file unreadable to a plotter. Shrinking is
    // allowed at a file-size limit and on a full disk alike.
    (void)ftruncate(m_iFd, m_iWholeLength);
    closeFile();
    warn("write", reason + "; the lines saved before are kept");
}

void CStatsFile::warn(const std::string& action, const std::string& reason)
{
    *m_pLog << "Warning. " << std::endl
            << "Unable to " << action << " " << m_sName << " to save the statistics." << std::endl
            << reason << std::endl
            << "Statistics will not be saved for this run" << std::endl
            << std::endl
            << std::endl;
}

void CStatsFile::closeFile()
{
    if (m_iFd >= 0)
        ::close(m_iFd);
    m_iFd = -1;
}
