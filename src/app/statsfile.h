#pragma once

#include <ctime>
#include <string>

// "KVN_STAT__" year "_" month "_" day "__" hour "_" minute ".txt", from the UTC time given.
std::string statsFileName(std::time_t when);

// The name itself when no file of that name exists; otherwise the first free one of
// "<stem>_2.txt", "<stem>_3.txt" and so on up to "_1000", so that an earlier run's file
// survives.
std::string firstFreeName(const std::string& fileName);
