#pragma once

#include <string>
#include <vector>

// A tool's files checked before it does any work, so that no run ends by losing its
// results: no two outputs are the same file, no output is one of the inputs (links
// resolved, folders compared by identity), and each output could be saved (its folder
// exists and may be written to, and nothing but a regular file stands in its place).
// Each file comes with a label for the messages, e.g. addOutput("--stats", "run.tsv").
// A folder may stand for inputs that cannot all be named: no output may be saved in it.
class COutputCheck
{
public:
    // An empty name (an option not given) is left out.
    void addInput(const std::string& label, const std::string& fileName);
    void addOutput(const std::string& label, const std::string& fileName);
    // Every file in the folder, now or later, is an input.
    void addInputFolder(const std::string& label, const std::string& folder);

    // A sentence for each output that is the same file as an earlier output or, failing
    // that, as an input, or is in a folder of inputs.
    std::vector<std::string> clashes() const;
    // A sentence for each output that could not be saved, with the reason.
    std::vector<std::string> unwritable() const;
    // Prints every problem on the standard error stream and returns the tool's status:
    // 2 when names clash (the command line is wrong), else 1 when an output cannot be
    // saved, else 0.
    int report() const;

private:
    struct SFile
    {
        std::string sLabel;
        std::string sName;
    };
    static void add(std::vector<SFile>& files, const std::string& label, const std::string& fileName);
    static std::string named(const SFile& file);
    // The sentence for the output at the index, or "" when it clashes with nothing.
    std::string clashOf(size_t index) const;

    std::vector<SFile> m_vInputs;
    std::vector<SFile> m_vOutputs;
    std::vector<SFile> m_vInputFolders;
};
