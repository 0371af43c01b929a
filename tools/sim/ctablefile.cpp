#include "sim/ctablefile.h"

#include <iostream>

bool CTableFile::open(const std::string& fileName, const std::string& columns)
{
    m_sFileName = fileName;
    if (fileName.empty())
        return true;
    if (m_file.open(fileName) && m_file.write("# " + columns + "\n"))
        return true;
    reportFailure();
    return false;
}

void CTableFile::writeLine(const std::string& line)
{
    // The file closes on a failure, so that only the first is told.
    if (m_file.isOpen() && !m_file.write(line + "\n"))
        reportFailure();
}

bool CTableFile::commit()
{
    if (m_file.isOpen() && !m_file.commit())
        reportFailure();
    return m_file.error().empty();
}

void CTableFile::reportFailure() const
{
    std::cerr << "The " << m_sWhat << " are not saved (" << m_sFileName << " stays as it was): " << m_file.error()
              << std::endl;
}
