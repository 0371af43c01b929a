#pragma once

#include <iosfwd>
#include <vector>

// One sigmoid neuron. Its last weight multiplies the bias input.
struct SNeuron
{
    int m_iNumInputs;               // number of weights: the inputs plus one for the bias
    std::vector<double> m_vWeights; // m_iNumInputs weights, bias weight last
    double m_dActivation;           // output of the most recent evaluation
    double m_dError;                // delta of the most recent training epoch

    // Draws numInputs + 1 weights with RandomClamped, in order.
    explicit SNeuron(int numInputs);
};

struct SNeuronLayer
{
    int m_iNumNeurons;
    std::vector<SNeuron> m_vNeurons;

    SNeuronLayer(int numNeurons, int numInputsPerNeuron);
};

// A small fully connected feed-forward network. Evolution sees it only as one flat weight
// vector: layers first to last, neurons in order, each neuron's weights with the bias last.
class CNeuralNet
{
public:
    CNeuralNet(int numInputs, int numOutputs, int numHiddenLayers, int neuronsPerHiddenLayer);
    // Same shape, weights and training record; activations and errors are not copied.
    CNeuralNet(const CNeuralNet& other);
    CNeuralNet& operator=(const CNeuralNet&) = delete;
    // Becomes what the copy constructor would make of other, which has this network's shape,
    // in the memory this network already holds (and without the copy's random draws).
    void assign(const CNeuralNet& other);
    // The same, with the copy's random draws: the random sequence moves as a copy moves it.
    void assignAsCopy(const CNeuralNet& other);
    // Becomes the child of two parents of its shape, as a copy of the first whose weights from a
    // cut drawn at random on are the second's (the copy's draws, then the cut). Weights go index
    // to index, so this network may be one of its parents; nothing is allocated.
    void crossFrom(const CNeuralNet& parent1, const CNeuralNet& parent2);

    // Weight count of a network of this shape, without building one.
    static long long countWeights(int numInputs, int numOutputs, int numHiddenLayers, int neuronsPerHiddenLayer);

    std::vector<double> getWeights() const;
    // Calls change(weight) on every weight, by reference, in the flat order.
    template <typename TChange> void changeEachWeight(TChange&& change)
    {
        for (SNeuronLayer& layer : m_vLayers)
            for (SNeuron& neuron : layer.m_vNeurons)
                for (double& weight : neuron.m_vWeights)
                    change(weight);
    }
    // Reads exactly getNumberOfWeights() values from the front of the vector.
    void putWeights(const std::vector<double>& weights);
    int getNumberOfWeights() const;

    // The outputs, each in (0, 1); empty when the input count is wrong. The vector is the
    // network's own, valid until its next evaluation.
    const std::vector<double>& update(const std::vector<double>& inputs);
    static double sigmoid(double netinput, double response);

    void randomizeWeights();

    // One back-propagation step; networks with exactly one hidden layer only.
    // False, with nothing changed, when either vector has the wrong length.
    bool train(const std::vector<double>& inputs, const std::vector<double>& targets);

    // The network record: the four sizes, the weight count, the weights; each value
    // followed by one space, no line breaks.
    void save(std::ostream& out) const;

    int getNumInputs() const { return m_iNumInputs; }
    int getNumOutputs() const { return m_iNumOutputs; }
    int getNumHiddenLayers() const { return m_iNumHiddenLayers; }
    int getNeuronsPerHiddenLayer() const { return m_iNeuronsPerHiddenLayer; }
    double getErrorSum() const { return m_dErrorSum; }
    bool isTrained() const { return m_bTrained; }
    int getNumEpochs() const { return m_iNumEpochs; }
    // Hidden layers in order, output layer last, with each neuron's last activation.
    const std::vector<SNeuronLayer>& getLayers() const { return m_vLayers; }

private:
    void createNet();
    bool trainEpoch(const std::vector<double>& inputs, const std::vector<double>& targets);

    int m_iNumInputs;
    int m_iNumOutputs;
    int m_iNumHiddenLayers;
    int m_iNeuronsPerHiddenLayer;
    double m_dErrorSum;   // squared output error of the last training epoch
    bool m_bTrained;
    int m_iNumEpochs;     // successful training steps since the last randomizeWeights
    std::vector<SNeuronLayer> m_vLayers; // hidden layers in order, output layer last

    // Scratch for update: one layer's inputs and outputs, kept so that evaluating every
    // alien every step reuses their capacity instead of allocating.
    std::vector<double> m_vLayerInputs;
    std::vector<double> m_vLayerOutputs;
};
