#include "view/cbrainview.h"

#include <algorithm>

#include "brain/cneuralnet.h"
#include "world/saction.h"

namespace
{
constexpr double kLargestRadius = 7.0;
} // namespace

void CBrainView::layout(const CNeuralNet& net, const std::vector<double>& inputValues,
                        const std::vector<std::string>& inputLabels, const std::vector<std::string>& outputLabels,
                        int highlightedOutput, const SRect& box)
{
    m_vNodes.clear();
    m_vLinks.clear();
    const std::vector<SNeuronLayer>& layers = net.getLayers();
    m_iInputs = net.getNumInputs();
    int fullest = m_iInputs;
    for (const SNeuronLayer& layer : layers)
        fullest = std::max(fullest, static_cast<int>(layer.m_vNeurons.size()));
    const int columns = static_cast<int>(layers.size()) + 1;
    m_dRadius = std::min(kLargestRadius, (box.top - box.bottom) / (2.5 * std::max(fullest, 1)));
    m_dRadius = std::max(0.0, std::min(m_dRadius, (box.right - box.left) / (2.5 * columns)));
    const double left = box.left + m_dRadius;
    const double step = columns > 1 ? (box.right - box.left - 2 * m_dRadius) / (columns - 1) : 0.0;

    addColumn(m_iInputs, left, box);
    for (int i = 0; i < m_iInputs; ++i)
    {
        m_vNodes[i].dValue = i < static_cast<int>(inputValues.size()) ? inputValues[i] : 0.0;
        if (i < static_cast<int>(inputLabels.size()))
            m_vNodes[i].sLabel = inputLabels[i];
    }
    int previousStart = 0;
    int previousCount = m_iInputs;
    for (size_t l = 0; l < layers.size(); ++l)
    {
        const int start = static_cast<int>(m_vNodes.size());
        const std::vector<SNeuron>& neurons = layers[l].m_vNeurons;
        addColumn(static_cast<int>(neurons.size()), left + step * static_cast<double>(l + 1), box);
        for (size_t n = 0; n < neurons.size(); ++n)
        {
            m_vNodes[start + n].dValue = neurons[n].m_dActivation;
            const int weights = std::min(previousCount, static_cast<int>(neurons[n].m_vWeights.size()));
            for (int w = 0; w < weights; ++w)
                m_vLinks.push_back({previousStart + w, start + static_cast<int>(n), neurons[n].m_vWeights[w]});
        }
        previousStart = start;
        previousCount = static_cast<int>(neurons.size());
    }
    for (int o = 0; o < previousCount; ++o)
    {
        SNode& output = m_vNodes[previousStart + o];
        if (o < static_cast<int>(outputLabels.size()))
            output.sLabel = outputLabels[o];
        output.bHighlighted = o == highlightedOutput;
    }
}

void CBrainView::addColumn(int count, double x, const SRect& box)
{
    const double spacing = (box.top - box.bottom) / std::max(count, 1);
    for (int i = 0; i < count; ++i)
        m_vNodes.push_back({x, box.top - (i + 0.5) * spacing, 0.0, ""});
}

std::vector<std::string> CBrainView::movementInputLabels(bool sensors, int gunBullets)
{
    std::vector<std::string> labels{"gun left", "gun right"};
    if (sensors)
        labels.insert(labels.end(), {"sensor up", "sensor right", "sensor down", "sensor left"});
    for (int k = 1; k <= gunBullets; ++k)
    {
        const std::string shot = gunBullets == 1 ? "shot" : "shot " + std::to_string(k);
        labels.push_back(shot + " aside");
        labels.push_back(shot + " time");
    }
    return labels;
}

std::vector<double> CBrainView::movementShades(const std::vector<double>& inputs, double windowWidth, bool sensors)
{
    std::vector<double> shades = inputs;
    const size_t firstShot = sensors ? 6 : 2;
    for (size_t i = 0; i < shades.size(); ++i)
        if (i < 2)
            shades[i] /= windowWidth;
        else if (i >= firstShot && (i - firstShot) % 2 == 0)
            shades[i] = (shades[i] + 1) / 2;
    return shades;
}

std::vector<std::string> CBrainView::movementOutputLabels(int movement)
{
    std::vector<std::string> labels{"left/right", "down/up"};
    const char* names[] = {"push up", "push down", "push left", "push right"};
    const int output = pushOutput(movement);
    if (output >= 0)
        labels[output] = names[movement];
    return labels;
}

int CBrainView::pushOutput(int movement)
{
    switch (movement)
    {
    case ACTION_LEFT:
    case ACTION_RIGHT: return 0;
    case ACTION_UP:
    case ACTION_DOWN: return 1;
    default: return -1;
    }
}

std::vector<std::string> CBrainView::attackInputLabels(bool blueAliens)
{
    return {"red ahead", "green ahead", blueAliens ? "blue ahead" : "blue: unused", "gun ahead"};
}

bool CBrainView::decidesToFire(const CNeuralNet& attack)
{
    const std::vector<SNeuronLayer>& layers = attack.getLayers();
    return !layers.empty() && !layers.back().m_vNeurons.empty() && layers.back().m_vNeurons[0].m_dActivation > 0.5;
}

std::vector<std::string> CBrainView::attackOutputLabels(bool fires)
{
    return {fires ? "fire!" : "fire"};
}
