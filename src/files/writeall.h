#pragma once

#include <cstddef>

// Writes all of the data to the file descriptor, carrying on after short and interrupted
// writes. False when a write fails, with the reason in errno (EIO for a write that makes no
// progress); how much was written before is then unknown to the caller.
bool writeAll(int fd, const char* data, size_t size);
