#pragma once

#include <ostream>
#include <string>

#include <sys/types.h>

// The statistics file of one run. It never replaces or writes through anything, and the
// player is never told that a line was saved when it was not:
// - create() makes a new file under the first free one of the name, "<stem>_2.txt" ...
//   "<stem>_1000.txt", exclusively and without following links: a name that exists in any
//   form, a dangling link included, is skipped; when every name is taken nothing is created
//   and the player is warned;
// - "Saving game stats..done." follows only a line that reached the file whole. The first
//   failed write (disk full, file-size limit) cuts the file back to its last whole line,
//   warns once, and ends the file: later lines and the closing total are not attempted;
// - without a file (never created, or ended by a failure) nothing is printed for a line:
//   the warning has said that the statistics are not saved.
// A file-size limit fails a write only when SIGXFSZ is ignored; otherwise it ends the process.
// Messages go to the stream given at construction.
class CStatsFile
{
public:
    static constexpr int kMaxRunsPerName = 1000;

    explicit CStatsFile(std::ostream& log) : m_pLog(&log) {}
    ~CStatsFile(); // closes the file without the closing lines
    CStatsFile(const CStatsFile&) = delete;
    CStatsFile& operator=(const CStatsFile&) = delete;

    // "Statistics go to <name>", or the warning; false when the run has no file.
    bool create(const std::string& fileName);
    // One line: the four values tab-separated, in the default stream format.
    bool saveLine(double minutes, int dead, double best, double worst);
    // Four empty lines and "Overall number of dead:<total>", then closes the file.
    bool close(int totalDead);

    bool isOpen() const { return m_iFd >= 0; }
    // The name created (or the one that failed).
    const std::string& name() const { return m_sName; }

private:
    bool append(const std::string& text); // false with the reason in errno
    void endAfterFailure(int error);
    void warn(const std::string& action, const std::string& reason);
    void closeFile();

    std::ostream* m_pLog;     // not owned
    std::string m_sName;
    int m_iFd = -1;           // owned
    off_t m_iWholeLength = 0; // the length of the lines written whole
};
