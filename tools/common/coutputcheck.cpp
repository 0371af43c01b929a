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

void COutputCheck::addInputFolder(const std::string& label, const std::string& folder)
{
    add(m_vInputFolders, label, folder);
}

std::vector<std::string> COutputCheck::clashes() const
{
    std::vector<std::string> problems;
    for (size_t i = 0; i < m_vOutputs.size(); ++i)
        if (const std::string problem = clashOf(i); !problem.empty())
            problems.push_back(problem);
    return problems;
}

std::string COutputCheck::clashOf(size_t index) const
{
    const SFile& output = m_vOutputs[index];
    const auto sameAs = [&](const SFile& other) { return isSameFile(other.sName, output.sName); };
    const auto earlier = std::find_if(m_vOutputs.begin(), m_vOutputs.begin() + index, sameAs);
    if (earlier != m_vOutputs.begin() + index)
        return named(*earlier) + " and " + named(output) + " are the same file: each output needs a file of its own";
    const auto input = std::find_if(m_vInputs.begin(), m_vInputs.end(), sameAs);
    if (input != m_vInputs.end())
        return named(output) + " and " + named(*input) + " are the same file: an output must not overwrite an input";
    const auto folder = std::find_if(m_vInputFolders.begin(), m_vInputFolders.end(),
                                     [&](const SFile& other) { return isInFolder(output.sName, other.sName); });
    if (folder != m_vInputFolders.end())
        return named(output) + " is in " + named(*folder) + ", whose files are inputs: an output must not overwrite one";
    return "";
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
