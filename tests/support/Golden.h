#pragma once
// Produced text checked against a golden file under tests/data/golden that was reviewed by hand.
// ZUNO_WRITE_GOLDEN=1 writes the files anew from what the code produces: review the diff before committing.
#include "support/Files.h"

#include <QStringList>
#include <gtest/gtest.h>

// The lines between the common head and tail of the two texts, with a line of context on either side.
inline std::string GoldenDiff(const QStringList& golden, const QStringList& produced) {
    qsizetype head = 0, tail = 0;
    while (head < golden.size() && head < produced.size() && golden[head] == produced[head])
        ++head;
    while (tail < golden.size() - head && tail < produced.size() - head &&
           golden[golden.size() - 1 - tail] == produced[produced.size() - 1 - tail])
        ++tail;
    std::string diff = "@@ line " + std::to_string(head + 1) + "\n";
    if (head > 0)
        diff += "  " + golden[head - 1].toStdString() + "\n";
    for (qsizetype i = head; i < golden.size() - tail; ++i)
        diff += "- " + golden[i].toStdString() + "\n";
    for (qsizetype i = head; i < produced.size() - tail; ++i)
        diff += "+ " + produced[i].toStdString() + "\n";
    if (tail > 0)
        diff += "  " + golden[golden.size() - tail].toStdString() + "\n";
    return diff;
}

// Passes when the text, one line per list item, is the golden file's (UTF-8, relative to the folder).
inline ::testing::AssertionResult MatchesGolden(const QStringList& lines, const QString& name) {
    const QString path = QStringLiteral(ZUNO_GOLDEN_DIR "/") + name;
    const QString produced = lines.join(u'\n') + u'\n';
    if (qEnvironmentVariableIsSet("ZUNO_WRITE_GOLDEN"))
        WriteFile(path, produced.toUtf8());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure()
               << "no golden file " << path.toStdString() << " (ZUNO_WRITE_GOLDEN=1 writes it)";
    const QString golden = QString::fromUtf8(file.readAll());
    if (golden == produced)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path.toStdString() << " differs (- golden, + produced):\n"
                                         << GoldenDiff(golden.split(u'\n'), produced.split(u'\n'));
}

#define EXPECT_GOLDEN(lines, name) EXPECT_TRUE(MatchesGolden(lines, name))
