#pragma once

#include <string>
#include <utility>

#include "files/catomicfile.h"

// One of korvane-sim's tab-separated outputs: a # line naming the columns, then one line
// per sampling period. Without a file name it does nothing. It replaces an old file only
// once complete (CAtomicFile); its first failure is told on the standard error stream at
// once, so that a long run's user need not wait for the end, and later lines are skipped.
class CTableFile
{
public:
    // what: the messages' name for the contents, e.g. "statistics".
    explicit CTableFile(std::string what) : m_sWhat(std::move(what)) {}

    // False when the file cannot be started, the failure told.
    bool open(const std::string& fileName, const std::string& columns);
    bool isOpen() const { return m_file.isOpen(); }
    void writeLine(const std::string& line);
    // Puts the file in place; true when there was nothing to write or all of it is saved.
    bool commit();

private:
    void reportFailure() const;

    std::string m_sWhat;
    std::string m_sFileName;
    CAtomicFile m_file;
};
