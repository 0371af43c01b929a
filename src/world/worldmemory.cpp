#include "world/worldmemory.h"

#include <algorithm>

#include "aliens/calien_green.h"
#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "world/cbullet.h"
#include "world/worldbounds.h"

namespace
{
// What the heap adds to every block it hands out, rounded up: its header and alignment.
constexpr double kBlockOverhead = 16;
// A pointer's slot in the vectors that hold aliens and bullets, with room for the copies
// of those vectors a world step makes.
constexpr double kSlotBytes = 2 * sizeof(void*);
// Brains made at once beside those of the aliens and pools: the copy a pool takes, the
// child breeding makes and its crossed networks, and one more being read from a pool file.
constexpr double kTransientBrains = 4;
// A pool entry's node in its multimap: three links and a colour, the fitness, the pointer.
constexpr double kPoolNodeBytes = 4 * sizeof(void*) + sizeof(double) + sizeof(void*);

double block(double bytes)
{
    return bytes + kBlockOverhead;
}

double networkBytes(int inputs, int outputs, int hiddenLayers, int perLayer)
{
    const double weights = static_cast<double>(CNeuralNet::countWeights(inputs, outputs, hiddenLayers, perLayer));
    const double neurons = static_cast<double>(hiddenLayers) * perLayer + outputs;
    const double layers = hiddenLayers + 1.0;
    const double widest = std::max({inputs, outputs, perLayer});
    // Each neuron's weights are a block of their own; the layer vectors and the two scratch
    // vectors of one layer's values are blocks of the network.
    return block(sizeof(CNeuralNet)) + block(layers * sizeof(SNeuronLayer)) + layers * kBlockOverhead
           + neurons * (sizeof(SNeuron) + kBlockOverhead) + weights * sizeof(double)
           + 2 * block(widest * sizeof(double));
}

double movementNetworkBytes()
{
    return networkBytes(CParams::Alien_NN_Movement_NumInputs, CParams::Alien_NN_Movement_NumOutputs,
                        CParams::Alien_NN_Movement_NumHiddenLayers, CParams::Alien_NN_Movement_NeuronsPerHiddenLayer);
}

double attackNetworkBytes()
{
    return networkBytes(CParams::Alien_NN_Attack_NumInputs, CParams::Alien_NN_Attack_NumOutputs,
                        CParams::Alien_NN_Attack_NumHiddenLayers, CParams::Alien_NN_Attack_NeuronsPerHiddenLayer);
}

// A brain: the object, its vector of networks, the networks.
double brainBytes(int networks, double networksBytes)
{
    return block(sizeof(CBrain)) + block(networks * sizeof(CNeuralNet*)) + networksBytes;
}
} // namespace

double estimateWorldBytes()
{
    const SWorldBounds bounds = worldBounds();
    const double greenBrain = brainBytes(1, movementNetworkBytes());
    const double redBrain = brainBytes(2, movementNetworkBytes() + attackNetworkBytes());
    const double greens = static_cast<double>(bounds.llGreenAliens);
    const double reds = static_cast<double>(bounds.llRedAliens);
    const double pool = CParams::Alien_NumberInPool;

    const double aliens = greens * (block(sizeof(CAlien_Green)) + kSlotBytes + greenBrain)
                          + reds * (block(sizeof(CAlien_Red)) + kSlotBytes + redBrain);
    // A pool file is read whole before it replaces its pool: for a while there are three.
    const double largerBrain = std::max(greenBrain, redBrain);
    const double pools = pool * (greenBrain + redBrain + 2 * block(kPoolNodeBytes))
                         + pool * (largerBrain + block(kPoolNodeBytes)) + kTransientBrains * largerBrain;
    const double bullets =
        static_cast<double>(bounds.llGunBullets + bounds.llRedBullets) * (block(sizeof(CBullet)) + kSlotBytes);
    return aliens + pools + bullets;
}
