#include "app/cstreamcapture.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(CStreamCaptureTest, PassesEverythingOnKeepsItAndGivesTheStreamBack)
{
    std::ostringstream terminal;
    terminal << "before ";
    {
        const CStreamCapture capture(terminal);
        terminal << "Saving... " << std::flush;
        terminal << "Cannot save GreenAliens_saved.txt: " << 42 << '\n';
        terminal.put('x');
        EXPECT_EQ(capture.text(), "Saving... Cannot save GreenAliens_saved.txt: 42\nx");
        EXPECT_EQ(capture.lastLine(), "x");
    }
    terminal << " after";
    EXPECT_EQ(terminal.str(), "before Saving... Cannot save GreenAliens_saved.txt: 42\nx after");
}

TEST(CStreamCaptureTest, LastLineSkipsEmptyLineEnds)
{
    std::ostringstream terminal;
    const CStreamCapture capture(terminal);
    EXPECT_EQ(capture.lastLine(), "");
    terminal << "Loading... Nothing to see here\ndone.\n\n";
    EXPECT_EQ(capture.lastLine(), "done.");
    terminal << "\n";
    EXPECT_EQ(capture.lastLine(), "done.");
}

TEST(CStreamCaptureTest, KeepsOnlyTheTailOfALongOutput)
{
    std::ostringstream terminal;
    const CStreamCapture capture(terminal);
    std::string all;
    for (int i = 0; i < 10000; ++i)
    {
        terminal << "line " << i << '\n';
        all += "line " + std::to_string(i) + "\n";
    }
    EXPECT_EQ(capture.text(), all.substr(all.size() - CStreamCapture::kKeep));
    EXPECT_EQ(capture.lastLine(), "line 9999");
    EXPECT_EQ(terminal.str(), all); // all of it went on
}
