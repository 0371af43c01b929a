#pragma once

#include <string>
#include <vector>

#include "world/utils.h"

class CNeuralNet;

// A network laid out for drawing: a column of nodes per layer, inputs on the left, outputs
// on the right, each column spread evenly over the box's height; a link for every weight from
// a node of one column to one of the next (bias weights are not drawn). Guarantees: every
// node lies inside the box; inputs carry the given values and labels, neurons their last
// activation; the links of neuron j of a layer come in its weights' order; exactly the
// highlighted output, if any, is marked.
class CBrainView
{
public:
    struct SNode
    {
        double dX, dY;
        double dValue; // an input's shade, a neuron's activation
        std::string sLabel;
        bool bHighlighted = false;
    };
    struct SLink
    {
        int iFrom, iTo; // node indices
        double dWeight;
    };

    // inputValues: the input nodes' shades, 0 to 1 (missing ones read 0); labels may be fewer
    // than the nodes. highlightedOutput: -1 for none.
    void layout(const CNeuralNet& net, const std::vector<double>& inputValues, const std::vector<std::string>& inputLabels,
                const std::vector<std::string>& outputLabels, int highlightedOutput, const SRect& box);

    const std::vector<SNode>& nodes() const { return m_vNodes; }
    const std::vector<SLink>& links() const { return m_vLinks; }
    // The radius that keeps the nodes of the fullest column apart.
    double nodeRadius() const { return m_dRadius; }
    int inputCount() const { return m_iInputs; }

    // The movement network's inputs as the alien builds them: the gun's distance going left
    // and going right around the wrap, then the sensors up, right, down and left when they are
    // on, then each of the gun's bullets seen: how far aside and how soon it comes.
    static std::vector<std::string> movementInputLabels(bool sensors, int gunBullets);
    // Their shades: the gun distances as a share of the window's width, a bullet's offset from
    // -1 to 1 as 0 to 1, the sensors and a bullet's time as they are.
    static std::vector<double> movementShades(const std::vector<double>& inputs, double windowWidth, bool sensors);
    // The two outputs ("left/right", "down/up"), the chosen push's named instead ("push left").
    static std::vector<std::string> movementOutputLabels(int movement);
    // The output behind a push: 0 for left and right, 1 for down and up, -1 for none.
    static int pushOutput(int movement);
    // The attack network's look-ahead inputs: a red, green or blue alien, then the gun; the
    // blue input is named unused in a world without blue aliens (the game has none).
    static std::vector<std::string> attackInputLabels(bool blueAliens);
    // Did the attack network's last evaluation decide to fire (its first output above 0.5)?
    static bool decidesToFire(const CNeuralNet& attack);
    static std::vector<std::string> attackOutputLabels(bool fires); // "fire", or "fire!"

private:
    void addColumn(int count, double x, const SRect& box);

    std::vector<SNode> m_vNodes;
    std::vector<SLink> m_vLinks;
    double m_dRadius = 0.0;
    int m_iInputs = 0;
};
