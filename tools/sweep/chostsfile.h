#pragma once

#include <cstddef>
#include <string>

// GNU parallel's hosts file (--sshloginfile), checked before any work: parallel reads it
// only once the results folder is prepared, and a line it cannot take ends the sweep with
// every run unfinished or with parallel's own "You have found a bug". Each line is empty,
// a comment (#...), or one machine:
//
//   [N/][COMMAND ]LOGIN
//
// N the runs at once there, from 1 to CParallelRun::MaxJobs; COMMAND the words that reach
// the machine in place of --ssh ("ssh -p 2222"); LOGIN ':' for this machine, or
// [user@]host[:port] with an IPv6 address in brackets. parallel's other forms are refused:
// host groups ("@group/"), a password in the login (it would need sshpass), a comma
// (parallel reads it as a second machine) and the names of other files ("..", "-").
class CHostsFile
{
public:
    static constexpr size_t MaxFileBytes = 1 << 20;

    // Reads and checks the file; false with a message naming the file, the line and the
    // cause, or that it names no machine.
    static bool check(const std::string& fileName, std::string& error);
    // What is wrong with a line, or "" when it names a machine or is blank or a comment.
    static std::string faultOf(const std::string& line);
};
