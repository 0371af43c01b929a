#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class CNeuralNet;

// Where a brain's weights came from, for the player's eyes; evolution never reads it.
constexpr int BRAIN_RANDOM = 0;  // drawn at random: a new brain, or one randomised
constexpr int BRAIN_CLONED = 1;  // a copy of one pool brain
constexpr int BRAIN_CROSSED = 2; // the crossover of two pool brains
constexpr int BRAIN_LOADED = 3;  // read from a brain record

// An alien's genome: its networks in a fixed order (0 movement, 1 attack for red aliens),
// with the breeding operators evolution applies to them.
class CBrain
{
public:
    CBrain();
    explicit CBrain(std::vector<CNeuralNet*> initNNs); // takes ownership of the networks
    CBrain(const CBrain& origBrain);                   // deep copy, origin included
    // Takes over the networks' weights, training records and origin of a brain of the same
    // shapes, keeping its own networks where they are in memory.
    void assign(const CBrain& other);
    // The same, with the copy constructor's random draws: what a copy would make, and the
    // random sequence where a copy would leave it, without allocating.
    void assignAsCopy(const CBrain& other);
    CBrain& operator=(const CBrain&) = delete;
    ~CBrain();

    void addNN(CNeuralNet* nn); // takes ownership
    CNeuralNet* getNN(int i) const;
    void setNN(int i, CNeuralNet* nn); // the replaced network is not deleted
    int getNumberOfNN() const;
    bool isInitialized() const { return m_bInitialized; }
    int getOrigin() const { return m_iOrigin; }
    void setOrigin(int origin) { m_iOrigin = origin; }

    // Makes this brain the child of the two parents: one cut point per network, drawn in
    // network order; the networks are new.
    void crossover(CBrain* ptrParent1, CBrain* ptrParent2);
    // The same child in this brain's own networks, which have the parents' shapes: the same
    // random draws, nothing allocated. Either parent may be this brain itself.
    void crossoverInPlace(const CBrain& parent1, const CBrain& parent2);
    void mutate();     // keeps the origin: a mutated clone is still a clone
    void randomize();  // the origin becomes BRAIN_RANDOM

    // False, naming the first weight that is not a finite number, when there is one: the
    // record of such a brain would not load.
    bool hasOnlyFiniteWeights(std::string& problem) const;

    // The brain record: the network count, then each network's record.
    void save(std::ostream& out) const;
    // All or nothing: on a bad record the brain stays exactly as it was and error says why;
    // a brain loaded whole is BRAIN_LOADED.
    bool load(std::istream& in, std::string& error);

private:
    void checkIndex(int i) const;
    // Deletes the networks if this brain owns them, and empties the list.
    void releaseNetworks();
    // Replaces the networks by these, which the brain then owns.
    void adoptNetworks(std::vector<CNeuralNet*> networks);

    std::vector<CNeuralNet*> m_vNeuralNets; // owned once initialised
    bool m_bInitialized;
    int m_iOrigin = BRAIN_RANDOM;
};
