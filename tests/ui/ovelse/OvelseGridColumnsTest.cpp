// The result grid's column layout in its text form.
#include "ui/ovelse/OvelseGridColumns.h"

#include "model/D_StaevneSystemData.h"
#include "support/Test.h"

namespace {

QStringList Columns(const TOvelseGridColumns& columns) {
    QStringList texts;
    for (int i = 0; i < columns.GetCount(); ++i) {
        const TOvelseGridColumn& column = *columns.GetColumn(i);
        texts << QStringLiteral("%1/%2/%3").arg(column.Caption).arg(column.Kind).arg(column.Width);
    }
    return texts;
}

TEST(OvelseGridColumns, PiecesAreTrimmedAndTextAfterTheLastSeparatorIgnored) {
    TOvelseGridColumns columns;
    EXPECT_TRUE(columns.SetAsText("Navn, 17, 145,;Navn,17;Årg,18,,extra,;Klub,19,40,;dangling"));
    EXPECT_EQ(Columns(columns), QStringList({"Navn/17/145", "Navn/0/0", "Årg/18/0", "Klub/19/40"}))
        << "a kind without its closing \",\" is 0; pieces after the third are ignored";
    EXPECT_EQ(columns.GetAsText(), "Navn,17,145,;Navn,0,0,;Årg,18,0,;Klub,19,40,;");
    EXPECT_TRUE(columns.SetAsText(columns.GetAsText()));
    EXPECT_EQ(Columns(columns).size(), 4) << "what it writes it reads back the same";

    // The default layout of a new meet: 21 columns, all of default width.
    EXPECT_TRUE(columns.SetAsText(TSystemData::DefaultGridColumns()));
    EXPECT_EQ(columns.GetCount(), 21);
    EXPECT_EQ(Columns(columns).front(), "Nr/3/0");
    EXPECT_EQ(Columns(columns).back(), "Holdkode/25/0");
    EXPECT_EQ(columns.GetAsText().left(22), "Nr,3,0,;Navn,17,0,;Årg");
}

TEST(OvelseGridColumns, ABadPartIsSkippedAndTheEditorFallsBackToTheDefaultWhenNothingIsLeft) {
    TOvelseGridColumns columns;
    EXPECT_FALSE(columns.SetAsText("Nr,x,;Navn,17,;Bane,12,wide,;Vind,15,-5,;"));
    EXPECT_EQ(Columns(columns), QStringList({"Navn/17/0", "Vind/15/0"}))
        << "parts whose kind or width is no number are skipped, the rest read; no width below 0";

    EXPECT_FALSE(columns.SetAsEditorLayout("Navn,17;Ukendt,99,;Nr,3,50,;"));
    EXPECT_EQ(Columns(columns), QStringList({"Nr/3/50"})) << "kinds outside the result columns are dropped";
    for (const QString& nothing :
         {QString(), QStringLiteral("Navn,17"), QStringLiteral("x,0,;y,41,;"), QStringLiteral(";;;")}) {
        EXPECT_FALSE(columns.SetAsEditorLayout(nothing)) << nothing.toStdString();
        EXPECT_EQ(columns.GetCount(), 21) << "the default layout: " << nothing.toStdString();
    }
    EXPECT_TRUE(columns.SetAsEditorLayout("Klub,19,140,;"));
}

TEST(OvelseGridColumns, StandardColumnsTakeTheirCaptionAndFindKindTheFirst) {
    TOvelseGridColumns columns;
    columns.AddStandard(TResultColumn::NavnAargang);
    columns.AddStandard(TResultColumn::ResultatKopi);
    columns.Add("Egen", int(TResultColumn::NavnAargang), 90);
    EXPECT_EQ(Columns(columns), QStringList({"Navn/Årgang/20/0", "AlderRes/38/0", "Egen/20/90"}));
    EXPECT_EQ(columns.FindKind(20), columns.GetColumn(0));
    EXPECT_EQ(columns.FindKind(3), nullptr);
    EXPECT_EQ(columns.GetColumn(3), nullptr);
    EXPECT_EQ(columns.GetColumn(-1), nullptr);
}

} // namespace
