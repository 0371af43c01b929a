#include "common/coutputcheck.h"

#include <algorithm>
#include <iostream>

#include "files/safefile.h"

void COutputCheck::addInput(const std::string& label, const std::string& fileName)
{
    add(m_vInputs, label, fileName);
}

void COutputCheck::addOutput(const std::string& label, const std::string& fileName)
{
    add(m_vOutputs, label, fileName);
}

std::vector<std::string> COutputCheck::clashes() const
{
    std::vector<std::string> problems;
    for (size_t i = 0; i < m_vOutputs.size(); ++i)
    {
        const SFile& output = m_vOutputs[i];
        const auto earlier = std::find_if(m_vOutputs.begin(), m_vOutputs.begin() + i,
                                          [&](const SFile& other) { return isSameFile(other.sName, output.sName); });
        const auto input = std::find_if(m_vInputs.begin(), m_vInputs.end(),
                                        [&](const SFile& other) { return isSameFile(other.sName, output.sName); });
        if (earlier != m_vOutputs.begin() + i)
            problems.push_back(named(*earlier) + " and " + named(output) +
                               " are the same file: each output needs a file of its own");
        else if (input != m_vInputs.end())
            problems.push_back(named(output) + " and " + named(*input) +
                               " are the same file: an output must not overwrite an input");
    }
    return problems;
}

std::vector<std::string> COutputCheck::unwritable() const
{
    std::vector<std::string> problems;
    for (const SFile& output : m_vOutputs)
    {
        std::string error;
        if (!checkWritable(output.sName, error))
            problems.push_back(named(output) + " cannot be written: " + error);
    }
    return problems;
}

int COutputCheck::report() const
{
    const std::vector<std::string> clashing = clashes();
    const std::vector<std::string> failing = unwritable();
    for (const auto* problems : {&clashing, &failing})
        for (const std::string& problem : *problems)
            std::cerr << problem << std::endl;
    return !clashing.empty() ? 2 : !failing.empty() ? 1 : 0;
}

void COutputCheck::add(std::vector<SFile>& files, const std::string& label, const std::string& fileName)
{
    if (!fileName.empty())
        files.push_back({label, fileName});
}

std::string COutputCheck::named(const SFile& file)
{
    return file.sLabel + " " + file.sName;
}
