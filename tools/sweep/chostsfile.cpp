#include "sweep/chostsfile.h"

#include <algorithm>

#include "common/wordparse.h"
#include "sweep/cparallelrun.h"
#include "files/safefile.h"

namespace
{
bool isLetterOrDigit(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isNameChar(char c)
{
    return isLetterOrDigit(c) || c == '.' || c == '_' || c == '-';
}

bool isHexOrColon(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':';
}

bool isPortChar(char c)
{
    return isLetterOrDigit(c) || c == '_';
}

template <typename Predicate>
bool isNonEmptyOf(const std::string& text, Predicate predicate)
{
    for (const char c : text)
        if (!predicate(c))
            return false;
    return !text.empty();
}

// name[:port] or [IPv6][:port]; a name starting with '-' would be an option to ssh.
bool isHostAndPort(const std::string& text)
{
    const bool bracketed = !text.empty() && text[0] == '[';
    const size_t hostEnd = bracketed ? text.find(']') + 1 : text.find(':');
    const std::string host = text.substr(0, hostEnd);
    const std::string rest = hostEnd == 0 || hostEnd >= text.size() ? std::string() : text.substr(hostEnd);
    const bool hostFine = bracketed ? hostEnd > 2 && isNonEmptyOf(host.substr(1, host.size() - 2), isHexOrColon)
                                    : isNonEmptyOf(host, isNameChar) && host[0] != '-' && host[0] != '.';
    return hostFine && (rest.empty() || (rest[0] == ':' && isNonEmptyOf(rest.substr(1), isPortChar)));
}

// ':' or [user@]host[:port].
bool isLogin(const std::string& login)
{
    if (login == ":")
        return true;
    const size_t at = login.find('@');
    if (at == std::string::npos)
        return isHostAndPort(login);
    return isNonEmptyOf(login.substr(0, at), isNameChar) && isHostAndPort(login.substr(at + 1));
}

std::string withoutTrailingSpace(std::string line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.pop_back();
    return line;
}

bool isBlankOrComment(const std::string& line)
{
    const size_t start = line.find_first_not_of(" \t\r");
    return start == std::string::npos || line[start] == '#';
}

// Tabs aside: one between words is only not a separator, and says so as part of a login.
bool holdsControlCharacter(const std::string& line)
{
    for (const char c : line)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            return true;
    return false;
}

// The fault of a login's port given in digits: "" when it is from 1 to 65535, or when the port
// is a service's name.
std::string portFault(const std::string& login)
{
    const std::string host = login.substr(login.find('@') + 1);
    const size_t close = host[0] == '[' ? host.find(']') : 0;
    const size_t colon = host.find(':', close == std::string::npos ? 0 : close);
    if (login == ":" || colon == std::string::npos)
        return "";
    const std::string port = host.substr(colon + 1);
    int number = 0;
    if (port.find_first_not_of("0123456789") != std::string::npos ||
        (parseWhole(port, number) && number >= 1 && number <= 65535))
        return "";
    return inQuotes(login) + " names port " + port + ": a port is from 1 to 65535";
}

// The fault of "N/": "" when the count is from 1 to MaxJobs.
std::string countFault(const std::string& count)
{
    int runs = 0;
    if (parseWhole(count, runs) && runs >= 1 && runs <= CParallelRun::MaxJobs)
        return "";
    return inQuotes(count + "/") + " asks for " + count + " runs at once: give from 1 to " +
           std::to_string(CParallelRun::MaxJobs);
}
} // namespace

std::string CHostsFile::faultOf(const std::string& rawLine)
{
    if (isBlankOrComment(rawLine))
        return "";
    const std::string line = withoutTrailingSpace(rawLine);
    if (line[0] == ' ' || line[0] == '\t')
        return "starts with white space, which GNU parallel cannot read";
    if (holdsControlCharacter(line))
        return "holds a control character: this is not a hosts file";
    if (line.find(',') != std::string::npos)
        return "holds a comma, which GNU parallel reads as a second machine: give one machine a line";
    const size_t digits = line.find_first_not_of("0123456789");
    const bool counted = digits != 0 && digits != std::string::npos && line[digits] == '/';
    if (counted)
        if (const std::string fault = countFault(line.substr(0, digits)); !fault.empty())
            return fault;
    const std::string machine = counted ? line.substr(digits + 1) : line;
    const std::string login = machine.substr(machine.rfind(' ') + 1);
    if (isLogin(login))
        return portFault(login);
    return inQuotes(login) + " is not a machine: give host, user@host, host:port or ':' for this machine, after "
                             "the runs at once there (4/) and the command that reaches it, if any";
}

bool CHostsFile::check(const std::string& fileName, std::string& error)
{
    std::string text;
    if (!readRegularFile(fileName, MaxFileBytes, text, error))
    {
        error = fileName + ": " + error;
        return false;
    }
    bool machine = false;
    size_t start = 0;
    for (int line = 1; start < text.size(); ++line)
    {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string content = text.substr(start, end - start);
        if (const std::string fault = faultOf(content); !fault.empty())
        {
            error = fileName + ": line " + std::to_string(line) + ": " + fault;
            return false;
        }
        machine = machine || !isBlankOrComment(content);
        start = end + 1;
    }
    if (!machine)
        error = fileName + ": names no machine: give one a line, such as 4/user@host, or ':' for this one";
    return machine;
}
