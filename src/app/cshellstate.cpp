#include "app/cshellstate.h"

#include "app/cparams.h"
#include "world/cgamecontroller.h"

void CShellState::SSession::startLearning()
{
    learningGraph = CLearningGraph();
    iLearningRun = learningGraph.addRun("", 0xFF5050, 0x50FF70, true);
    iControlRun = learningGraph.addBaseline();
    learningPeriod = CGamePeriod(CParams::Stats_UpdateInterval);
    learning = controlLearning = CLearningRecorder();
}

void CShellState::SSession::sampleLearning(const CGameController& game)
{
    const double now = worldClock.worldMs();
    if (!learningPeriod.isDue(now))
        return;
    const CLearningRecorder::SPeriod period = learning.take(game);
    learningGraph.addPeriod(iLearningRun, now / 60000.0, period.redForGraph(), period.greenForGraph(),
                            period.playerForGraph());
    const CLearningRecorder::SPeriod control = controlLearning.take(controlWorld.world());
    learningGraph.addPeriod(iControlRun, now / 60000.0, control.redForGraph(), control.greenForGraph(),
                            control.playerForGraph());
}
