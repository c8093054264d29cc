#include "foundation/controls/Tablist.h"

#include "Gui.h"
#include "support/Test.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStandardItemModel>

namespace {

using TColumn = TTabListbox::TTabColumn;

TEST(TabListbox, TabsGiveWidthAndMarginWhetherOrNotABlankFollowsTheComma) {
    EXPECT_EQ(TTabListbox::ReadTab("60, 5"), (TColumn{0, 60, 5, Qt::AlignLeft}));
    EXPECT_EQ(TTabListbox::ReadTab("60,5"), (TColumn{0, 60, 5, Qt::AlignLeft}));
    EXPECT_EQ(TTabListbox::ReadTab("140"), (TColumn{0, 140, 2, Qt::AlignLeft})) << "margin 2 when left out";
    EXPECT_EQ(TTabListbox::ReadTab("x,y"), (TColumn{0, 0, 0, Qt::AlignLeft}));
}

TEST(TabListbox, ColumnsFollowOneAnotherAndNeverPassTheRightEdge) {
    TTabListbox list;
    list.SetTabs({"60, 5", "140", "100"});
    EXPECT_EQ(list.ColumnLayout(250),
              (QList<TColumn>{
                  {0, 60, 5, Qt::AlignLeft}, {60, 140, 2, Qt::AlignLeft}, {200, 50, 2, Qt::AlignLeft}}));
    EXPECT_EQ(list.ColumnLayout(150),
              (QList<TColumn>{{0, 60, 5, Qt::AlignLeft}, {60, 90, 2, Qt::AlignLeft}}));
    list.SetTabs({});
    EXPECT_EQ(list.ColumnLayout(150), (QList<TColumn>{{0, 150, 2, Qt::AlignLeft}})) << "no tabs: one column";
}

TEST(TabListbox, AListInALayoutIsNeverNarrowerThanItsLongestText) {
    QWidget window;
    auto* list = new TTabListbox(&window);
    list->SetTabs({"45", "400"});
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(list);
    layout->addWidget(new QWidget(&window), 10);
    list->addItem("D5\tDrenge 4-5 år");
    window.resize(120, 200);
    window.show();
    Settle();
    const QFontMetrics metrics = list->fontMetrics();
    EXPECT_GE(list->viewport()->width(), 45 + 2 + metrics.horizontalAdvance("Drenge 4-5 år"));
    list->addItem("D14\tDrenge 14-15 år med et langt navn");
    Settle();
    EXPECT_GE(list->width(), 45 + 2 + metrics.horizontalAdvance("Drenge 14-15 år med et langt navn"))
        << "a longer text widens it";
}

TEST(TabListbox, AHeaderControlGivesWidthsAndAlignmentsInsteadOfTheTabs) {
    QStandardItemModel sections(0, 3);
    sections.setHeaderData(1, Qt::Horizontal, QVariant::fromValue(Qt::Alignment(Qt::AlignRight)),
                           Qt::TextAlignmentRole);
    sections.setHeaderData(2, Qt::Horizontal, QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter)),
                           Qt::TextAlignmentRole);
    QHeaderView header(Qt::Horizontal);
    header.setModel(&sections);
    header.setDefaultAlignment(Qt::AlignLeft);
    header.resizeSection(0, 30);
    header.resizeSection(1, 70);
    header.resizeSection(2, 40);
    TTabListbox list;
    list.SetTabs({"10", "10"});
    list.SetHeaderControl(&header);
    EXPECT_EQ(list.ColumnLayout(500),
              (QList<TColumn>{
                  {0, 30, 4, Qt::AlignLeft}, {30, 70, 4, Qt::AlignRight}, {100, 40, 4, Qt::AlignHCenter}}));
}

TEST(TabListbox, ARowWithFewerPartsLeavesTheLastColumnsEmpty) {
    EXPECT_EQ(TTabListbox::ColumnTexts("M\tDrenge", 4), (QStringList{"M", "Drenge", "", ""}));
    EXPECT_EQ(TTabListbox::ColumnTexts("M\tDrenge\t", 2), (QStringList{"M", "Drenge", ""}));
}

TEST(TabListbox, EachColumnsTextIsDrawnFromItsLeftEdgePlusItsMargin) {
    TTabListbox list;
    list.resize(300, 60);
    list.SetTabs({"60, 5", "100,20"});
    list.addItem("\tW");
    list.addItem("W\t\tnot drawn");
    list.show();
    QApplication::processEvents();
    const QImage image = list.viewport()->grab().toImage();
    const QRect first = list.visualItemRect(list.item(0));
    const QRect second = list.visualItemRect(list.item(1));
    EXPECT_GE(InkColumns(image, first).first, 80);
    EXPECT_LT(InkColumns(image, first).first, 90);
    EXPECT_GE(InkColumns(image, second).first, 5);
    EXPECT_LT(InkColumns(image, second).first, 15);
    EXPECT_LT(InkColumns(image, second).second, 160) << "a part beyond the columns is not drawn";
}

} // namespace
