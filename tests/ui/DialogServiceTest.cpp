#include "DialogService.h"

#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(DialogService, EachDialogStartsWithWhatWasChosenInItLast)
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers = {"/a/Ruvex.rvk", std::nullopt, "/b/Ruvex.rvk", "/c/x.gif"};
    EXPECT_EQ(dialogs.OpenSkinFile(), "/a/Ruvex.rvk");
    EXPECT_EQ(dialogs.OpenSkinFile(), std::nullopt); // cancelled: the remembered file stays
    EXPECT_EQ(dialogs.SaveSkinFile(), "/b/Ruvex.rvk");
    EXPECT_EQ(dialogs.OpenPictureFile(), "/c/x.gif");
    dialogs.OpenSkinFile();
    dialogs.SaveSkinFile();
    dialogs.OpenPictureFile(); // the folder of the last picture, no file of another slot

    std::vector<std::pair<std::string, QString>> asked;
    for (const auto& request : dialogs.fileRequests)
        asked.emplace_back(request.dialog, request.initialFile);
    const std::vector<std::pair<std::string, QString>> expected = {
        {"OD1", ""}, {"OD1", "/a/Ruvex.rvk"}, {"SD1", "Ruvex.rvk"}, {"ImgReplaceDialog", ""},
        {"OD1", "/a/Ruvex.rvk"}, {"SD1", "/b/Ruvex.rvk"}, {"ImgReplaceDialog", "/c"}};
    EXPECT_EQ(asked, expected);

    // The colour dialog starts where it is told (the element's colour), not where it was left.
    dialogs.colorAnswers = {QColor(Qt::red)};
    dialogs.PickColor(Qt::blue, {});
    dialogs.PickColor(Qt::green, {Qt::yellow});
    EXPECT_EQ(dialogs.colorRequests, (std::vector<QColor>{Qt::blue, Qt::green}));
}
