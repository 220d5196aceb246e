// The key filters on real edits, fed typed keys.
#include "dialogs/key_filters.h"

#include <gtest/gtest.h>

#include "dialogs/typing.h"

namespace kelm {
namespace {

using test::Press;
using test::Type;

struct Typing {
    const char* before;
    int caret;  // -1: at the end
    const char* keys;
    const char* after;
};

void TypeInto(QLineEdit& edit, const Typing& t) {
    edit.setText(QString::fromUtf8(t.before));
    edit.setCursorPosition(t.caret < 0 ? edit.text().size() : t.caret);
    Type(&edit, QString::fromUtf8(t.keys));
    EXPECT_EQ(edit.text(), QString::fromUtf8(t.after)) << t.before << " + " << t.keys;
}

class DecimalKeys : public ::testing::TestWithParam<Typing> {};

TEST_P(DecimalKeys, TypeDigitsAndOneUserSeparatorOnly) {
    QLineEdit edit;
    new DecimalKeyFilter(&edit, ',');
    TypeInto(edit, GetParam());
}

INSTANTIATE_TEST_SUITE_P(CommaSeparator, DecimalKeys,
                         ::testing::Values(Typing{"", -1, "1,,5", "1,5"}, Typing{"", -1, "0.25", "0,25"},
                                           Typing{"0,32", -1, ",", "0,32"}, Typing{"0,32", -1, ".", "0,32"},
                                           Typing{"7", -1, "-a +e", "7"}, Typing{"12", -1, "\b\b3", "3"},
                                           Typing{"12", 0, ".", ",12"}));

TEST(DecimalKeys, TypeTheSeparatorOfTheUsersSettings) {
    QLineEdit edit;
    new DecimalKeyFilter(&edit, '.');
    TypeInto(edit, {"", -1, "1,5", "1.5"});
    TypeInto(edit, {"1.5", -1, ",", "1.5"});
}

TEST(DigitKeys, TypeDigitsAndBackspaceOnly) {
    QLineEdit edit;
    new DigitKeyFilter(&edit);
    TypeInto(edit, {"", -1, "1a2-3,4.5 ", "12345"});
    TypeInto(edit, {"120", -1, "\b5", "125"});
}

class TemperatureKeys : public ::testing::TestWithParam<Typing> {};

TEST_P(TemperatureKeys, PutTheSignInFrontAndNothingBeforeIt) {
    QLineEdit edit;
    new TemperatureKeyFilter(&edit);
    TypeInto(edit, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TemperatureKeys,
    ::testing::Values(Typing{"", -1, "-", "-"},           // a lone minus
                      Typing{"-", -1, "-", "-"},          // a second one changes nothing
                      Typing{"40", -1, "-", "-40"},       // wherever the caret is
                      Typing{"40", 0, "-", "-40"}, Typing{"40", 1, "-", "-40"},
                      Typing{"-40", 0, "5", "-40"},       // nothing in front of the sign
                      Typing{"-40", 0, "\b", "-40"},
                      Typing{"4", -1, "-0", "-40"},       // the caret moves with the sign
                      Typing{"", -1, "-40", "-40"},
                      Typing{"25", -1, "a,.+ ", "25"}));

TEST(KeyFilters, LeaveNavigationAndReadOnlyEditsAlone) {
    QLineEdit edit;
    new DecimalKeyFilter(&edit, ',');
    edit.setText("12");
    Press(&edit, Qt::Key_Left);
    Type(&edit, "3");
    EXPECT_EQ(edit.text(), "132");

    edit.setReadOnly(true);
    Type(&edit, ".");
    EXPECT_EQ(edit.text(), "132");

    QLineEdit temperature;
    new TemperatureKeyFilter(&temperature);
    temperature.setText("40");
    temperature.setReadOnly(true);
    Type(&temperature, "-");
    EXPECT_EQ(temperature.text(), "40");
}

}  // namespace
}  // namespace kelm
