#include <gtest/gtest.h>

#include <fstream>

#include "support/scratchfolder.h"
#include "sweep/chostsfile.h"

namespace
{
struct SCase
{
    std::string sLine;
    std::string sFault; // the start of it; "" for a line that is taken
};

void expectFaults(const std::vector<SCase>& cases)
{
    for (const SCase& c : cases)
    {
        const std::string fault = CHostsFile::faultOf(c.sLine);
        EXPECT_EQ(fault.substr(0, c.sFault.size()), c.sFault) << "for: " << c.sLine;
        EXPECT_EQ(fault.empty(), c.sFault.empty()) << "for: " << c.sLine << ": " << fault;
    }
}
} // namespace

// parallel took every line below that is refused, and ended the sweep with "You have
// found a bug" or with no run done.
TEST(CHostsFileTest, LinesThatGnuParallelCannotTakeAreRefusedBeforeAnyWorkIsMended)
{
    const std::vector<SCase> cases = {
        {":", ""},
        {"4/:", ""},
        {"hostA", ""},
        {"256/user@host-1.example.org:2222", ""},
        {"1/[2001:db8::1]:22", ""},
        {"2/ssh -p 2222 user@host", ""},
        {"  # a comment", ""},
        {" \t\r", ""},
        {"hostA  \r", ""},
        {"0/hostA", "'0/' asks for 0 runs at once: give from 1 to 256"},
        {"257/hostA", "'257/' asks for 257 runs at once"},
        {"99999999999999999999/hostA", "'99999999999999999999/' asks for"},
        {"-1/hostA", "'-1/hostA' is not a machine: give host, user@host, host:port or ':' for this machine"},
        {"x/hostA", "'x/hostA' is not a machine"},
        {"4/", "'' is not a machine"},
        {"/", "'/' is not a machine"},
        {"@", "'@' is not a machine"},
        {"@group/hostA", "'@group/hostA' is not a machine"},
        {"user:secret@hostA", "'user:secret@hostA' is not a machine"},
        {"\"hostA\"", "'\"hostA\"' is not a machine"},
        {"+", "'+' is not a machine"},
        {"..", "'..' is not a machine"},
        {"-", "'-' is not a machine"},
        {"-oProxyCommand=x", "'-oProxyCommand=x' is not a machine"},
        {"hostA:", "'hostA:' is not a machine"},
        {"[2001:db8::1", "'[2001:db8::1' is not a machine"},
        {" 1/hostA", "starts with white space, which GNU parallel cannot read"},
        {"hostA,hostB", "holds a comma, which GNU parallel reads as a second machine: give one machine a line"},
        {"host\x1b[2J", "holds a control character"},
    };
    expectFaults(cases);
}

// Ports out of range passed the check, and every run then failed with "Bad port".
TEST(CHostsFileTest, PortsOutOfRangePassingTheCheckIsMended)
{
    expectFaults({{"localhost:99999", "'localhost:99999' names port 99999: a port is from 1 to 65535"},
                  {"localhost:0", "'localhost:0' names port 0: a port is from 1 to 65535"},
                  {"user@[2001:db8::1]:65536", "'user@[2001:db8::1]:65536' names port 65536"},
                  {"localhost:99999999999999999999", "'localhost:99999999999999999999' names port"},
                  {"localhost:65535", ""},
                  {"2/localhost:1", ""},
                  {"localhost:ssh", ""}});
}

TEST(CHostsFileTest, AFileIsNamedWithTheLineAndMustNameAMachine)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    std::string error;
    std::ofstream(folder / "hosts") << "# two machines\n1/hostA\n\n:\n";
    EXPECT_TRUE(CHostsFile::check(folder / "hosts", error)) << error;
    std::ofstream(folder / "bad") << "1/hostA\r\n-1/hostB\r\n";
    EXPECT_FALSE(CHostsFile::check(folder / "bad", error));
    EXPECT_EQ(error, folder / "bad" + ": line 2: '-1/hostB' is not a machine: give host, user@host, host:port or ':' "
                                      "for this machine, after the runs at once there (4/) and the command that "
                                      "reaches it, if any");
    std::ofstream(folder / "none") << "# nothing yet\n";
    EXPECT_FALSE(CHostsFile::check(folder / "none", error));
    EXPECT_EQ(error, folder / "none" + ": names no machine: give one a line, such as 4/user@host, or ':' for this one");
    EXPECT_FALSE(CHostsFile::check(folder.path(), error));
    EXPECT_EQ(error, folder.path() + ": is a folder");
}
