#pragma once

#include <ctime>
#include <string>

// "KVN_STAT__" year "_" month "_" day "__" hour "_" minute ".txt", from the UTC time given.
std::string statsFileName(std::time_t when);

// The name of the n-th run (n from 2) that wants the same file name: "<stem>_<n>.txt" for
// "<stem>.txt", "<name>_<n>" for a name without ".txt".
std::string numberedName(const std::string& fileName, int n);
