#include "view/cbrainview.h"

#include <gtest/gtest.h>

#include "brain/cneuralnet.h"
#include "support/worldfixture.h"
#include "world/saction.h"

namespace
{
class CBrainViewTest : public CWorldTest
{
};

void expectInside(const CBrainView& view, const SRect& box)
{
    for (const CBrainView::SNode& node : view.nodes())
    {
        EXPECT_GE(node.dX - view.nodeRadius(), box.left);
        EXPECT_LE(node.dX + view.nodeRadius(), box.right);
        EXPECT_GE(node.dY - view.nodeRadius(), box.bottom);
        EXPECT_LE(node.dY + view.nodeRadius(), box.top);
    }
}
} // namespace

// Each input is labelled as the alien builds it, the sensors only when they are on, the gun's
// bullets after them; a bullet's offset is shaded from -1 to 1.
TEST_F(CBrainViewTest, MovementInputsAreLabelledAndShadedAsTheAlienBuildsThem)
{
    EXPECT_EQ(CBrainView::movementInputLabels(false, 1), (std::vector<std::string>{"gun left", "gun right", "shot aside",
                                                                                     "shot time"}));
    const std::vector<std::string> two = CBrainView::movementInputLabels(true, 2);
    ASSERT_EQ(two.size(), 10u);
    EXPECT_EQ(two[5], "sensor left");
    EXPECT_EQ(two[8], "shot 2 aside");
    EXPECT_EQ(CBrainView::movementShades({400, 400, -0.5, 0.25}, 800, false),
              (std::vector<double>{0.5, 0.5, 0.25, 0.25}));
    EXPECT_EQ(CBrainView::movementShades({0, 800, 1, 1, 1, 1, 0, 1}, 800, true),
              (std::vector<double>{0, 1, 1, 1, 1, 1, 0.5, 1}));
}

TEST_F(CBrainViewTest, MovementNetworkShowsItsInputsActivationsAndWeights)
{
    CNeuralNet net(6, 2, 1, 8);
    const std::vector<double> inputs{400, 200, 1, 0.5, 1, 0.25};
    net.update(inputs);
    CBrainView view;
    const SRect box(100, 500, 200, 200);
    view.layout(net, CBrainView::movementShades(inputs, 800, true), CBrainView::movementInputLabels(true, 0),
                CBrainView::movementOutputLabels(ACTION_DOWN), CBrainView::pushOutput(ACTION_DOWN), box);
    ASSERT_EQ(view.nodes().size(), 16u);
    ASSERT_EQ(view.links().size(), 6u * 8 + 8u * 2); // bias weights are not drawn
    expectInside(view, box);
    EXPECT_EQ(view.inputCount(), 6);
    EXPECT_EQ(view.nodes()[0].sLabel, "gun left");
    EXPECT_EQ(view.nodes()[5].sLabel, "sensor left");
    EXPECT_DOUBLE_EQ(view.nodes()[0].dValue, 0.5); // 400 of 800 pixels
    EXPECT_DOUBLE_EQ(view.nodes()[3].dValue, 0.5);
    const std::vector<SNeuronLayer>& layers = net.getLayers();
    EXPECT_EQ(view.nodes()[6].dValue, layers[0].m_vNeurons[0].m_dActivation);
    EXPECT_EQ(view.nodes()[15].dValue, layers[1].m_vNeurons[1].m_dActivation);
    // Hidden neuron 2 takes input 4 through its fifth weight.
    const CBrainView::SLink& link = view.links()[2 * 6 + 4];
    EXPECT_EQ(link.iFrom, 4);
    EXPECT_EQ(link.iTo, 8);
    EXPECT_EQ(link.dWeight, layers[0].m_vNeurons[2].m_vWeights[4]);
    // The chosen push is highlighted, and only it.
    EXPECT_FALSE(view.nodes()[14].bHighlighted);
    EXPECT_TRUE(view.nodes()[15].bHighlighted);
    EXPECT_EQ(view.nodes()[14].sLabel, "left/right");
    EXPECT_EQ(view.nodes()[15].sLabel, "push down");
    // Columns left to right, nodes top to bottom.
    EXPECT_LT(view.nodes()[0].dX, view.nodes()[6].dX);
    EXPECT_LT(view.nodes()[6].dX, view.nodes()[14].dX);
    EXPECT_GT(view.nodes()[0].dY, view.nodes()[1].dY);
}

TEST_F(CBrainViewTest, PushesMapToTheirOutput)
{
    EXPECT_EQ(CBrainView::pushOutput(ACTION_LEFT), 0);
    EXPECT_EQ(CBrainView::pushOutput(ACTION_RIGHT), 0);
    EXPECT_EQ(CBrainView::pushOutput(ACTION_UP), 1);
    EXPECT_EQ(CBrainView::pushOutput(ACTION_DOWN), 1);
    EXPECT_EQ(CBrainView::pushOutput(ACTION_UNDEFINED), -1);
    EXPECT_EQ(CBrainView::movementOutputLabels(ACTION_RIGHT), (std::vector<std::string>{"push right", "down/up"}));
    EXPECT_EQ(CBrainView::movementOutputLabels(ACTION_UNDEFINED), (std::vector<std::string>{"left/right", "down/up"}));
}

TEST_F(CBrainViewTest, AttackNetworkShowsWhetherItFires)
{
    CNeuralNet attack(4, 1, 1, 6);
    CBrainView view;
    const SRect box(0, 100, 60, 0);
    view.layout(attack, {0.2, 1, 1, 0.05}, CBrainView::attackInputLabels(false), CBrainView::attackOutputLabels(false), -1,
                box);
    ASSERT_EQ(view.nodes().size(), 11u);
    EXPECT_EQ(view.links().size(), 4u * 6 + 6u);
    expectInside(view, box);
    EXPECT_EQ(view.nodes()[3].sLabel, "gun ahead");
    for (const CBrainView::SNode& node : view.nodes())
        EXPECT_FALSE(node.bHighlighted);
    for (int i = 0; i < 200; ++i)
    {
        attack.randomizeWeights();
        const bool fires = attack.update({0.2, 1, 1, 0.05})[0] > 0.5;
        EXPECT_EQ(CBrainView::decidesToFire(attack), fires);
    }
    EXPECT_EQ(CBrainView::attackOutputLabels(true), (std::vector<std::string>{"fire!"}));
}

TEST_F(CBrainViewTest, FewerLabelsOrValuesThanInputsAndTinyBoxesAreTakenInStride)
{
    CNeuralNet net(7, 2, 2, 3);
    CBrainView view;
    view.layout(net, {0.5}, {"only"}, {}, 5, SRect(0, 1, 1, 0));
    ASSERT_EQ(view.nodes().size(), 7u + 3 + 3 + 2);
    EXPECT_EQ(view.nodes()[1].dValue, 0.0);
    EXPECT_EQ(view.nodes()[1].sLabel, "");
    EXPECT_EQ(view.links().size(), 7u * 3 + 3u * 3 + 3u * 2);
    expectInside(view, SRect(0, 1, 1, 0));
    view.layout(net, {}, {}, {}, -1, SRect(0, 0, 0, 10)); // upside down: no room at all
    EXPECT_EQ(view.nodeRadius(), 0.0);
}
