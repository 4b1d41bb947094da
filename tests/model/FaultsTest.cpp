#include "tests/support/Rig.h"
#include "tests/support/RunningTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// The folder of the results log taken away under the running program, for good: ZAVOD.TXT is
// in the program's working folder, and a new folder made under the same name is not that one.
// The records wait to the end, where the operator is shown every one of them, in order.
TEST(Faults, AFolderRemovedUnderTheProgramKeepsEveryRecordForTheLastMessage) {
    Rig rig;
    Form1& form = rig.start();
    const auto& c = form.controls();
    const auto click = [&rig](QPushButton* button) {
        Rig::click(button);
        rig.passes(1);
    };
    const QString folder = QFileInfo(rig.logPath()).absolutePath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    c.Text1->setText(QStringLiteral("SDH Lhota"));
    click(c.Command3);
    click(c.ButStart);
    const std::int64_t laneMs = rig.time.us / 1000 + 1; // read closed in this pass's pause
    rig.lines.cts = true;
    rig.passes(2);
    rig.lines.cts = false;
    click(c.Command5);
    QStringList records{QStringLiteral("SDH Lhota"),
                        QStringLiteral(" dráha c.1 ") +
                            runningTime(laneMs - form.state().startTick),
                        QStringLiteral(" Diskvalifikace ")};
    ASSERT_EQ(rig.messages.texts(),
              QStringList{QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: soubor nebo složka "
                                         "chybí\nZáznam je uschován a bude zapsán při dalším "
                                         "zápisu.")});
    ASSERT_TRUE(QDir().mkpath(folder));
    c.Text1->setText(QStringLiteral("Sokol Ves"));
    click(c.Command3);
    records << QStringLiteral("Sokol Ves");
    EXPECT_EQ(rig.messages.seen.size(), 1U);
    EXPECT_FALSE(QFile::exists(rig.logPath()));
    EXPECT_EQ(form.race().log().pending(), records);

    click(c.Command1);
    EXPECT_EQ(rig.end.calls, 1);
    ASSERT_EQ(rig.messages.seen.size(), 2U);
    EXPECT_EQ(rig.messages.seen[1].text,
              QStringLiteral("Tyto záznamy se nepodařilo zapsat do souboru ZAVOD.TXT:\n\n") +
                  records.join(u'\n'));
}

} // namespace
