// The series of ten shots: which hits count, where the markers go, what the
// score card says and which sounds play.

#include "app/HoleMarker.h"
#include "tests/app/AppFixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace apptest {
namespace {

class ShotRecord : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        start();
        ASSERT_FALSE(window().Ended());
    }
    // "New Game" and the pause after it.
    void openSeries() {
        clickNewGame();
        endPause();
    }
    void clickNewGame() {
        QTest::mouseClick(window().findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
    }
    QString shown() const {
        return const_cast<ShotRecord*>(this)
            ->window()
            .findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
            ->toPlainText();
    }
};

TEST_F(ShotRecord, StartsIdle) {
    EXPECT_EQ(window().ReadyToShoot(), 0);
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_EQ(window().TotalScore(), 0);
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_TRUE(window().ScoreCardText().isEmpty());
}

TEST_F(ShotRecord, HitBeforeNewGameIsTurnedAway) {
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_TRUE(window().ScoreCardText().isEmpty());
    EXPECT_TRUE(effects().empty());
}

TEST_F(ShotRecord, NewGameOpensTheSeriesAfterThePause) {
    clickNewGame();
    EXPECT_EQ(window().ReadyToShoot(), 0);
    EXPECT_EQ(window().Timer1Interval(), 1500);
    for (int k = 0; k < app::Vantorel::Markers; ++k) {
        EXPECT_EQ(window().Shape2(k)->Left(), 1000.0F);
        EXPECT_EQ(window().Shape2(k)->Top(), 1000.0F);
    }
    endPause();
    EXPECT_EQ(window().ReadyToShoot(), -1);
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_EQ(effects(), std::vector<int>{1});
}

TEST_F(ShotRecord, TheReArmTimerFiresByItself) {
    clickNewGame();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window().ReadyToShoot() == -1; }, 5000));
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_EQ(effects(), std::vector<int>{1});
}

TEST_F(ShotRecord, HitDuringThePauseAfterNewGameIsTurnedAway) {
    clickNewGame();
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_TRUE(effects().empty());
}

TEST_F(ShotRecord, HitDuringThePauseAfterAShotIsTurnedAway) {
    openSeries();
    window().SetHole(0, 0, 10.0);
    window().SetHole(300, 0, 9.0);
    EXPECT_EQ(window().ShotCount(), 1);
    EXPECT_EQ(window().ScoreCardText(), QStringLiteral("Shot  1 Result Is 10\r\n"));
    EXPECT_EQ(effects(), (std::vector<int>{1, 0}));
}

TEST_F(ShotRecord, HitAtTheCentreCentresTheMarker) {
    openSeries();
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().Shape2(0)->Left(), 6210.0F);
    EXPECT_EQ(window().Shape2(0)->Top(), 3345.0F);
    EXPECT_EQ(window().Shape2(0)->pos(), QPoint(414, 223));
    EXPECT_EQ(window().Shape2(0)->size(), QSize(10, 10));
}

TEST_F(ShotRecord, WorkedExampleLandsInRingSix) {
    openSeries();
    window().SetHole(1125, 875, 5.2493);
    EXPECT_EQ(window().Shape2(0)->Left(), 5085.0F);
    EXPECT_EQ(window().Shape2(0)->Top(), 2470.0F);
    EXPECT_EQ(window().ScoreCardText(), QStringLiteral("Shot  1 Result Is  6\r\n"));
    EXPECT_EQ(shown(), QStringLiteral("Shot  1 Result Is  6\n"));
    EXPECT_EQ(window().TotalScore(), 6);
    EXPECT_EQ(window().ReadyToShoot(), 0);
    EXPECT_EQ(window().Timer1Interval(), 1500);
}

struct ScoreCase {
    double raw;
    int recorded;
    const char* line;
};

class ShotScore : public ShotRecord, public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(ShotScore, IsTheFloorPlusOneAtMostTen) {
    const ScoreCase c = GetParam();
    openSeries();
    window().SetHole(0, 0, c.raw);
    EXPECT_EQ(window().TotalScore(), c.recorded);
    EXPECT_EQ(window().ScoreCardText(), QString::fromLatin1(c.line) + QStringLiteral("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Table, ShotScore,
                         ::testing::Values(ScoreCase{10.0, 10, "Shot  1 Result Is 10"},
                                           ScoreCase{9.0, 10, "Shot  1 Result Is 10"},
                                           ScoreCase{8.999, 9, "Shot  1 Result Is  9"},
                                           ScoreCase{8.6, 9, "Shot  1 Result Is  9"},
                                           ScoreCase{0.0, 1, "Shot  1 Result Is  1"},
                                           ScoreCase{-0.5, 0, "Shot  1 Result Is  0"},
                                           ScoreCase{-1.0, 0, "Shot  1 Result Is  0"},
                                           ScoreCase{-1.2, -1, "Shot  1 Result Is -1"},
                                           ScoreCase{-3.2, -3, "Shot  1 Result Is -3"},
                                           ScoreCase{-9.44, -9, "Shot  1 Result Is -9"}));

// Ten shots by calling SetHole, each followed by the end of its pause.
class SeriesOfScores : public ShotRecord {
protected:
    void shootSeries(const std::vector<double>& scores) {
        openSeries();
        for (double score : scores) {
            window().SetHole(0, 0, score);
            endPause();
        }
    }
};

TEST_F(SeriesOfScores, NegativeTotalHasOneMinusSign) {
    shootSeries({-3.2, -3.2, -3.2, -3.2, 0.0, 0.0, 0.0, 0.0, -0.5, -0.5});
    EXPECT_EQ(window().TotalScore(), -8);
    EXPECT_TRUE(window().ScoreCardText().contains(QStringLiteral("Shot  3 Result Is -3\r\n")));
    EXPECT_TRUE(window().ScoreCardText().endsWith(QStringLiteral("Summary  -8 From 100\r\n")));
}

TEST_F(SeriesOfScores, SummaryOfMinusTwelve) {
    shootSeries({-3.2, -3.2, -3.2, -3.2, -0.5, -0.5, -0.5, -0.5, -0.5, -0.5});
    EXPECT_TRUE(window().ScoreCardText().endsWith(QStringLiteral("Summary -12 From 100\r\n")));
}

TEST_F(SeriesOfScores, SummaryOfAHundredAndOfSeven) {
    shootSeries(std::vector<double>(10, 9.5));
    EXPECT_TRUE(window().ScoreCardText().endsWith(QStringLiteral("Summary 100 From 100\r\n")));
    shootSeries({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -0.5, -0.5, -0.5});
    EXPECT_TRUE(window().ScoreCardText().endsWith(QStringLiteral("Summary   7 From 100\r\n")));
}

TEST_F(SeriesOfScores, EleventhHitAndEveryHitAfterTheLastTickAreTurnedAway) {
    shootSeries(std::vector<double>(10, 5.0));
    const QString card = window().ScoreCardText();
    EXPECT_EQ(window().ShotCount(), 10);
    EXPECT_EQ(window().ReadyToShoot(), -1);
    window().SetHole(0, 0, 10.0);
    window().SetHole(100, 100, 10.0);
    EXPECT_EQ(window().ShotCount(), 10);
    EXPECT_EQ(window().ScoreCardText(), card);
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_EQ(effects().back(), 3);
}

TEST_F(ShotRecord, NewGameDuringAPauseStartsThePauseAnewAndPlaysReady) {
    openSeries();
    window().SetHole(0, 0, 10.0);
    clickNewGame();
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_TRUE(window().ScoreCardText().isEmpty());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(window().Shape2(0)->Left(), 1000.0F);
    endPause();
    EXPECT_EQ(effects(), (std::vector<int>{1, 0, 1}));
}

TEST_F(ShotRecord, NewGameWhileReadyTurnsHitsAwayUntilThePauseEnds) {
    openSeries();
    clickNewGame();
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 0);
    endPause();
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 1);
    EXPECT_EQ(effects(), (std::vector<int>{1, 1, 0}));
}

TEST_F(ShotRecord, HitWithTheWrongVideoFormatIsTurnedAway) {
    openSeries();
    camera_.setFormat(0, 320, 240, 24);
    window().SetHole(0, 0, 10.0);
    camera_.setFormat(0, 160, 120, 32);
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_EQ(effects(), std::vector<int>{1});
    camera_.setFormat(0, 160, 120, 24);
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 1);
}

// A full series fired with the simulated laser at one ring after another,
// from the camera through the frame analysis to the score card.
TEST_F(ShotRecord, TenLaserShotsAtKnownRings) {
    struct Shot {
        double dx, dy; // grid cells from the centre, dy upwards
        int ring;
        float left, top; // expected marker place, twips
    };
    // Offsets on the target picture are 250 twips a cell, mirrored left to
    // right; the marker's centre is the target centre (6285, 3420) minus
    // the offset.
    auto shot = [](double dx, double dy, int ring) {
        return Shot{dx, dy, ring, static_cast<float>(6285 - 250 * dx - 75),
                    static_cast<float>(3420 - 250 * dy - 75)};
    };
    const std::vector<Shot> shots{shot(0, 0, 10),      shot(1.5, 1.5, 9),  shot(1.5, -2.5, 8),
                                  shot(-2.5, -3.5, 7), shot(3.5, 3.5, 6),  shot(-4.5, -4.5, 5),
                                  shot(5.5, -5.5, 4),  shot(-6.5, 6.5, 3), shot(7.5, 7.5, 2),
                                  shot(-9.5, -6.5, 1)};
    clickNewGame();
    fireAtCells(2.5, 2.5); // during the pause: turned away
    EXPECT_EQ(window().ShotCount(), 0);
    endPause();
    QString expected;
    for (std::size_t k = 0; k < shots.size(); ++k) {
        SCOPED_TRACE(k);
        fireAtCells(shots[k].dx, shots[k].dy);
        ASSERT_EQ(window().ShotCount(), static_cast<int>(k + 1));
        EXPECT_EQ(window().Shape2(static_cast<int>(k))->Left(), shots[k].left);
        EXPECT_EQ(window().Shape2(static_cast<int>(k))->Top(), shots[k].top);
        expected += QStringLiteral("Shot %1 Result Is %2\r\n").arg(k + 1, 2).arg(shots[k].ring, 2);
        if (k == 9) // the tenth line, then the summary
            expected += QStringLiteral("Summary  55 From 100\r\n");
        EXPECT_EQ(window().ScoreCardText(), expected);
        fireAtCells(2.5, 2.5); // during the pause: turned away
        EXPECT_EQ(window().ShotCount(), static_cast<int>(k + 1));
        endPause();
    }
    EXPECT_EQ(window().TotalScore(), 55);
    EXPECT_EQ(window().ScoreCardText().count(QStringLiteral("\r\n")), 11);
    EXPECT_EQ(effects(),
              (std::vector<int>{1, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 3}));
    // After the last tick every shot is turned away until "New Game".
    fireAtCells(2.5, 2.5);
    EXPECT_EQ(window().ShotCount(), 10);
    EXPECT_EQ(window().ScoreCardText(), expected);
}

} // namespace
} // namespace apptest
