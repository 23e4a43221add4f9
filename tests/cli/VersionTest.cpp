// Both programs name their version on --version, without a display: the project version
// and, in a git checkout, the commit as git describes it.

#include "cli/CliRunner.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ExpectedVersion()
{
    QString expected = QStringLiteral(KALVEX_PROJECT_VERSION);
    if (!QFileInfo::exists(QStringLiteral(KALVEX_SOURCE_DIR "/.git")))
        return expected;
    QProcess git;
    git.start("git", {"-C", KALVEX_SOURCE_DIR, "describe", "--always", "--tags"});
    if (git.waitForFinished() && git.exitCode() == 0)
        expected += " (" + QString::fromUtf8(git.readAllStandardOutput()).trimmed() + ")";
    return expected;
}

TEST(VersionTest, BothProgramsPrintTheProjectVersionAndTheCommit)
{
    QTemporaryDir settings;
    const QString version = ExpectedVersion();
    for (const auto& [program, name] :
        {std::pair{KALVEX_CLI, "kalvex-cli"}, std::pair{KALVEX_PROGRAM, "kalvex"}}) {
        const CliRun run = RunProgram(program, {"--version"}, settings.path());
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out, (QString(name) + " " + version + "\n").toStdString());
    }
}

} // namespace
