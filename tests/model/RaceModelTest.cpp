#include "tests/model/RaceModel.h"

#include <gtest/gtest.h>

// The model is only worth its comparisons if it is right by itself: a few known answers.
namespace {

using model::RaceModel;

TEST(RaceModel, RunningTimeTextKeepsItsFormAcrossEveryWrap) {
    EXPECT_EQ(RaceModel::elapsedText(83'045, 0), "00:01:23:045");
    EXPECT_EQ(RaceModel::elapsedText(((25 * 60 + 1) * 60 + 1) * 1000 + 1, 0), "01:01:01:001");
    EXPECT_EQ(RaceModel::elapsedText(5'000, -1'000), "00:00:06:000");
    EXPECT_EQ(RaceModel::elapsedText(0x80000010U, 0x7FFFFFF0), "00:00:00:032");
    EXPECT_EQ(RaceModel::elapsedText(0x00000010U, static_cast<std::int32_t>(0xFFFFFFF0U)),
              "00:00:00:032");
}

TEST(RaceModel, TeamNamesAreWindows1250WithAQuestionMarkForTheRest) {
    EXPECT_EQ(model::toWindows1250("SDH Žďár"), "SDH \x8E\xEF\xE1r");
    EXPECT_EQ(model::toWindows1250("Hasiči Nová Ves €"), "Hasi\xE8i Nov\xE1 Ves \x80");
    EXPECT_EQ(model::toWindows1250("Ω-ø-😀"), "?-?-?");
}

TEST(RaceModel, AHeldStartContactStartsRepeatsThenAnnulsAndStartsAgain) {
    RaceModel m;
    m.world.contact = [](model::In line, std::int64_t) { return line == model::In::Dcd; };
    m.us = 10'000'000;
    m.start();
    m.pass();
    EXPECT_EQ(m.fields().raceState, 1);
    EXPECT_EQ(m.fields().startTick, 10'000);
    EXPECT_EQ(m.fields().startSignals, 1);
    m.pass();
    EXPECT_EQ(m.fields().startSignals, 2);
    EXPECT_EQ(m.fields().startTick, 10'000) << "a repeated signal does not restart the time";
    m.pass();
    EXPECT_EQ(m.fields().startSignals, 1);
    EXPECT_EQ(m.world.log, " Start anulovan \r\n");
    EXPECT_EQ(m.displays().text2, "Start anulován");
    // Pulses: start, start, stop (annulment), start; each 1000.2 ms of fake time.
    ASSERT_EQ(m.outputs().size(), 3U + 8U);
    for (std::size_t i = 3; i < m.outputs().size(); i += 2) {
        EXPECT_EQ(m.outputs()[i + 1].us - m.outputs()[i].us, 1'000'200);
    }
}

TEST(RaceModel, AFailedAppendIsKeptToldOnceAndWrittenAheadOfTheNext) {
    RaceModel m;
    m.start();
    m.world.logWritable = false;
    m.world.logFailureReason = "na místě souboru je složka";
    m.queue({model::Event::Kind::Click, model::Button::Command9});
    m.queue({model::Event::Kind::Click, model::Button::Command5});
    m.pass();
    ASSERT_EQ(m.messages().size(), 1U);
    EXPECT_EQ(m.messages()[0].text,
              "Zápis do souboru ZAVOD.TXT selhal: na místě souboru je složka\n"
              "Záznam je uschován a bude zapsán při dalším zápisu.");
    EXPECT_EQ(m.pending().size(), 2U);
    m.world.logWritable = true;
    m.queue({model::Event::Kind::Click, model::Button::Command3});
    m.pass();
    EXPECT_EQ(m.world.log, " Start anulovan \r\n Diskvalifikace \r\n\r\n");
    EXPECT_TRUE(m.pending().empty());
}

} // namespace
