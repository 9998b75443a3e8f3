#include "QmtbFadeAnimation.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

class CountingAnimation : public QmtbAnimation
{
public:
    using QmtbAnimation::QmtbAnimation;
    int applied = 0;

protected:
    void applyProgress() override { ++applied; }
};

} // namespace

TEST(AnimationTest, shouldFadeOutInEqualStepsAndFinishOneTickAfterTheLastStep)
{
    // A 0.6 s fade from 1.0 to 0.3 at 30 fps: equal steps, exactly 0.3 on tick 19, finished on tick 20.
    QmtbFadeAnimation fade(nullptr, 1.0f, 0.3f, 30, 0.6f);
    QSignalSpy finished(&fade, &QmtbAnimation::finished);
    EXPECT_EQ(fade.interval(), 33);
    EXPECT_TRUE(fade.isFadingOut());
    EXPECT_FLOAT_EQ(fade.value(), 1.0f);
    fade.start();

    std::vector<float> values{fade.value()};
    for (int tick = 1; tick <= 18; ++tick) {
        fade.advance();
        values.push_back(fade.value());
    }
    EXPECT_LT(fade.progress(), 1.0f);
    EXPECT_FLOAT_EQ(fade.progress(), 0.99999994f);
    EXPECT_GT(fade.value(), 0.3f);
    const float step = values[0] - values[1];
    for (size_t i = 1; i < values.size(); ++i)
        EXPECT_NEAR(values[i - 1] - values[i], step, 1e-6f) << "tick " << i;

    fade.advance();
    EXPECT_EQ(fade.progress(), 1.0f);
    EXPECT_EQ(fade.value(), 0.3f);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(fade.isRunning());

    fade.advance();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).value<QmtbAnimation*>(), &fade);
    EXPECT_FALSE(fade.isRunning());
    EXPECT_EQ(fade.frame(), 0);
    EXPECT_EQ(fade.value(), 0.3f);
}

TEST(AnimationTest, shouldFinishOnTheNextTickWhenRestartedAfterTheLastStep)
{
    // stop keeps the progress, so a restart after reaching 1.0 finishes at once on the next tick.
    QmtbFadeAnimation fade(nullptr, 0.0f, 1.0f, 30, 0.1f);
    QSignalSpy finished(&fade, &QmtbAnimation::finished);
    fade.start();
    for (int i = 0; i < 3; ++i)
        fade.advance();
    ASSERT_EQ(fade.progress(), 1.0f);
    fade.stop();
    EXPECT_EQ(fade.progress(), 1.0f);
    EXPECT_EQ(finished.count(), 0);

    fade.start();
    fade.advance();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(fade.value(), 1.0f);
}

TEST(AnimationTest, shouldSurviveBeingDeletedByItsOwnFinishedReceiver)
{
    // The window deletes a finished animation from its handler; the timer path must not touch it after.
    auto* fade = new QmtbFadeAnimation(nullptr, 1.0f, 0.0f, 100, 0.03f);
    QPointer<QmtbAnimation> guard(fade);
    bool deleted = false;
    QObject::connect(fade, &QmtbAnimation::finished, [&deleted](QmtbAnimation* animation) {
        delete animation;
        deleted = true;
    });
    fade->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return deleted; }, 2000));
    EXPECT_TRUE(guard.isNull());
    QTest::qWait(50);
}

TEST(AnimationTest, shouldStopTicksWhenARunningAnimationIsDestroyed)
{
    // Destroying a running animation ends its frames: no more ticks reach anyone.
    auto animation = std::make_unique<CountingAnimation>(100, 10.0f);
    int ticks = 0;
    QObject context;
    QObject::connect(animation.get(), &QmtbAnimation::redraw, &context, [&ticks] { ++ticks; });
    animation->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
    animation.reset();
    const int ticksAtDestruction = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, ticksAtDestruction);
}

TEST(AnimationTest, shouldTreatBrokenTimingAndOpacitiesAsDefinedValues)
{
    // A zero frame rate, a NaN duration and out-of-range opacities give a finite, finishing fade.
    QmtbFadeAnimation fade(nullptr, std::nanf(""), 2.0f, 0, std::nanf(""));
    QSignalSpy finished(&fade, &QmtbAnimation::finished);
    EXPECT_EQ(fade.interval(), 1000);
    EXPECT_EQ(fade.from(), 1.0f);
    EXPECT_EQ(fade.to(), 1.0f);
    fade.start();
    fade.advance();
    EXPECT_EQ(fade.progress(), 1.0f);
    EXPECT_EQ(fade.value(), 1.0f);
    fade.advance();
    EXPECT_EQ(finished.count(), 1);

    QmtbFadeAnimation negative(nullptr, -1.0f, 0.5f, -5, -1.0f);
    EXPECT_EQ(negative.from(), 0.0f);
    negative.start();
    negative.advance();
    EXPECT_EQ(negative.value(), 0.5f);
}
