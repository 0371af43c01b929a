#include "app/framenames.h"

#include <climits>
#include <cstdio>

#include <sys/stat.h>

std::string frameFileName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame%5d.bmp", number);
    return name;
}

int firstFreeFrame(const std::string& folder, int from)
{
    for (int number = from;; number += 2)
    {
        struct stat info;
        if (lstat((folder + "/" + frameFileName(number)).c_str(), &info) != 0)
            return number;
        if (number > INT_MAX - 2)
            return -1;
    }
}
