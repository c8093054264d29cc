#include "foundation/LxString.h"

#include "support/Test.h"

TEST(Switches, PresentWithoutValue) {
    EXPECT_TRUE(HasSwitch("/SERVER", {"/server"}));
    EXPECT_FALSE(HasSwitch("/SERVER", {"/SERVER5"}));
    EXPECT_EQ(FindSwitchValue("/SERVER", QStringList{"/SERVER5"}), "5");
    EXPECT_FALSE(HasSwitch("/SERVER", {}));
    EXPECT_EQ(FindSwitchValue("/SERVER", QStringList{"/KIP"}), "");
    EXPECT_FALSE(HasSwitch("", {"/KIP"}));
}

TEST(Switches, PrefixesOfLongerSwitchesDoNotMatch) {
    EXPECT_FALSE(HasSwitch("/S", {"/SERVER"}));
    EXPECT_FALSE(HasSwitch("/S", {"/STANDINGS"}));
    EXPECT_FALSE(HasSwitch("/HTML_TEAM", {"/HTML_TEAM_START_LIST"}));
    EXPECT_TRUE(HasSwitch("/HTML_TEAM", {"/HTML_TEAM_RESULTS", "/HTML_TEAM"}));
    EXPECT_TRUE(HasSwitch("/S", {"/STANDINGS", "/s"}));
    // A switch is looked for only at the start of an argument.
    EXPECT_EQ(FindSwitchValue("ID=", QStringList{"XID=3", "/X=ID=4"}), "");
}

TEST(Switches, ValuesRunToTheEndOfTheirArgument) {
    const QStringList args{"/XML_OVELSE", "/KLASSE=Drenge 12", "/FILENAME=/tmp/a.xml", "ID=12", "/RUNDE="};
    EXPECT_EQ(FindSwitchValue("/filename=", args), "/tmp/a.xml");
    EXPECT_EQ(FindSwitchValue("/KLASSE=", args), "Drenge 12");
    EXPECT_EQ(FindSwitchValue("id=", args), "12");
    EXPECT_EQ(FindSwitchValue("/RUNDE=", args), "/RUNDE="); // empty value: the switch itself
    EXPECT_EQ(FindSwitchValue("/HEAT=", args), "");
    EXPECT_EQ(FindSwitchValue("/SERVER", QStringList{"/SERVER=1"}), "=1");
}

TEST(Switches, QuotedValues) {
    EXPECT_EQ(FindSwitchValue("/PREFIX=", QStringList{"/PREFIX=\"a \"\"b\"\" c\"rest"}), "a \"b\" c");
    EXPECT_EQ(FindSwitchValue("/PREFIX=", QStringList{"/PREFIX=\"Åbent"}), "Åbent");
    EXPECT_EQ(FindSwitchValue("/PREFIX=", QStringList{"/PREFIX=\"\""}), "/PREFIX=");
}

TEST(Switches, JoinedLineSplitsAtBlanksOutsideQuotes) {
    const QString line = " /KIP /PREFIX=\"a b\"  /FILENAME=/home/x/res.xml ID=7";
    EXPECT_EQ(FindSwitchValue("/PREFIX=", line), "a b");
    EXPECT_EQ(FindSwitchValue("/FILENAME=", line), "/home/x/res.xml");
    EXPECT_EQ(FindSwitchValue("ID=", line), "7");
    EXPECT_EQ(FindSwitchValue("/KIP", line), "/KIP");
}
