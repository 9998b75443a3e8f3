#include "Qt/QmtbFadeAnimation.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// An animation that only ticks.
struct TickingAnimation : QmtbAnimation
{
    using QmtbAnimation::QmtbAnimation;
    void applyProgress() override {}
};

} // namespace

TEST(AnimationTest, shouldFadeInEqualStepsAndFinishOneTickAfterTheLastStep)
{
    // A 0.6 s fade from 1.0 to 0.3 at 30 fps: equal steps, exactly 0.3 on tick 19, finished on tick 20; a restart then finishes on its first tick.
    QmtbFadeAnimation fade(nullptr, 1.0f, 0.3f, 30, 0.6f);
    QSignalSpy finished(&fade, &QmtbAnimation::finished);
    EXPECT_TRUE(fade.interval() == 33 && fade.isFadingOut());
    fade.start();
    for (int tick = 1; tick <= 18; ++tick) {
        fade.advance();
        EXPECT_NEAR(fade.value(), 1.0f - 0.7f * tick / 18, 1e-6f) << tick;
    }
    EXPECT_TRUE(fade.progress() == 0.99999994f && fade.value() > 0.3f);
    fade.advance();
    EXPECT_TRUE(fade.progress() == 1.0f && fade.value() == 0.3f && fade.isRunning() && finished.isEmpty());
    fade.advance();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(finished.at(0).at(0).value<QmtbAnimation*>() == &fade && !fade.isRunning() && fade.frame() == 0 && fade.value() == 0.3f);

    // stop keeps the progress, so a restart after reaching 1.0 finishes at once on the next tick.
    fade.start();
    fade.advance();
    EXPECT_EQ(finished.count(), 2);

    // Every tick asks for a redraw, the finishing one too.
    TickingAnimation ticking(30, 0.1f);
    QSignalSpy redraws(&ticking, &QmtbAnimation::redraw);
    for (int tick = 0; tick < 4; ++tick)
        ticking.advance();
    EXPECT_EQ(redraws.count(), 4);
}

TEST(AnimationTest, shouldTreatBrokenTimingAndOpacitiesAsDefinedValues)
{
    // A zero or negative frame rate, a NaN or negative duration and out-of-range opacities give a finite fade that finishes.
    QmtbFadeAnimation fade(nullptr, std::nanf(""), 2.0f, 0, std::nanf("")), negative(nullptr, -1.0f, 0.5f, -5, -1.0f);
    QSignalSpy finished(&fade, &QmtbAnimation::finished);
    EXPECT_TRUE(fade.interval() == 1000 && fade.from() == 1.0f && fade.to() == 1.0f && negative.from() == 0.0f);
    for (QmtbFadeAnimation* animation : { &fade, &negative })
        animation->start(), animation->advance();
    EXPECT_TRUE(fade.progress() == 1.0f && fade.value() == 1.0f && negative.value() == 0.5f);
    fade.advance();
    EXPECT_EQ(finished.count(), 1);
}

TEST(AnimationTest, shouldStopTickingWhenDeletedByItsFinishedReceiverOrDestroyedRunning)
{
    // The window deletes a finished animation from its handler, or destroys a running one: the timer never touches it after.
    auto* fade = new QmtbFadeAnimation(nullptr, 1.0f, 0.0f, 100, 0.03f);
    QPointer<QmtbAnimation> guard(fade);
    QObject::connect(fade, &QmtbAnimation::finished, [](QmtbAnimation* animation) { delete animation; });
    fade->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 2000));

    auto running = std::make_unique<TickingAnimation>(100, 10.0f);
    int ticks = 0;
    QObject::connect(running.get(), &QmtbAnimation::redraw, [&ticks] { ++ticks; });
    running->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
    running.reset();
    const int ticksAtDestruction = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, ticksAtDestruction);
}
