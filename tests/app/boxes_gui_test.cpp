// The program's boxes speak French down to their standard buttons, which Qt's own French texts give.
#include "support/gui_fixture.h"
#include "widgets/input_box.h"
#include "widgets/messages.h"

#include <QWidget>

using namespace pylon;
using namespace pylon::test;

namespace {

QStringList sorted(QStringList texts) {
    texts.sort();
    return texts;
}

} // namespace

TEST(Boxes, TheStandardButtonsReadInFrench) {
    QWidget editor;
    editor.show();
    BoxAnswerer boxes;
    InputAnswerer inputs;

    boxes.answers = QStringList{QStringLiteral("&Non")};
    EXPECT_EQ(MsgBox(&editor, QStringLiteral("Supprimer ?"), MsgStyle::YesNo), MsgAnswer::No);
    boxes.answers = QStringList{QStringLiteral("&Oui")};
    EXPECT_EQ(MsgBox(&editor, QStringLiteral("Supprimer ?"), MsgStyle::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(MsgBox(&editor, QStringLiteral("Fait.")), MsgAnswer::Ok);
    inputs.answers = QStringList{InputAnswerer::kCancel};
    EXPECT_EQ(InputBox(&editor, QStringLiteral("Numéro :")), std::nullopt);

    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(sorted(boxes.shown[0].buttons), QStringList({"&Non", "&Oui"}));
    EXPECT_EQ(boxes.shown[2].buttons, QStringList({"OK"}));
    ASSERT_EQ(inputs.buttonTexts.size(), 1u);
    EXPECT_EQ(sorted(inputs.buttonTexts[0]), QStringList({"Annuler", "OK"}));
}
