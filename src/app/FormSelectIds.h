#ifndef MVPR_APP_FORMSELECTIDS_H
#define MVPR_APP_FORMSELECTIDS_H

#include "res/resource.h"

namespace mvpr {

// Controls of the main window.
enum class SelectCtl : int {
    First = 100,
    sbtnStart = First,
    sbtnWait,
    sbtnShut,
    sbtnWall,
    Label3,
    DriveComboBox1,
    Label5,
    DirectoryListBox1,
    Label6,
    FilterComboBox1,
    Label2,
    FileListBox1,
    Label4,
    pnlPreview,
    PnlPreviewName,
    ImgPreview,
    BtnAdd,
    btnRemove,
    chkbStartUpRun,
    LblStyle,
    CBStyle,
    Label1,
    LblNumber,
    ListStart,
    ListWait,
    ListShut,
    ListWall,
    PnlExtend,
    Last = PnlExtend,
};
static_assert(static_cast<int>(SelectCtl::Last) < 1000, "control ids must stay below the command ids");
static_assert(static_cast<int>(SelectCtl::ListWall) - static_cast<int>(SelectCtl::ListStart) == 3);
static_assert(static_cast<int>(SelectCtl::sbtnWall) - static_cast<int>(SelectCtl::sbtnStart) == 3);

// Menu commands of the main window, numbered as in the resources.
enum class SelectCmd : int {
    Save1 = IDM_SAVE1,
    Close1 = IDM_CLOSE1,
    Runrandomizeratstartup1 = IDM_RUNRANDOMIZERATSTARTUP1,
    ErrorReportOn1 = IDM_ERRORREPORTON1,
    PlayAnimations1 = IDM_PLAYANIMATIONS1,
    PreviewNone1 = IDM_PREVIEWNONE1,
    PreviewChooseOnly1 = IDM_PREVIEWCHOOSEONLY1,
    PreviewSelectedOnly1 = IDM_PREVIEWSELECTEDONLY1,
    PreviewBoth1 = IDM_PREVIEWBOTH1,
    Removenonexistingfiles1 = IDM_REMOVENONEXISTINGFILES1,
    MakeScreen1 = IDM_MAKESCREEN1,
    OriginalScreens1 = IDM_ORIGINALSCREENS1,
    Uninstall2 = IDM_UNINSTALL2,
    Help2 = IDM_HELP2,
    About1 = IDM_ABOUT1,
    CheckScreens1 = IDM_CHECKSCREENS1,
    FullScreenPreview2 = IDM_FULLSCREENPREVIEW2,
    Setascurrent1 = IDM_SETASCURRENT1,
    Refresh1 = IDM_REFRESH1,
    Add2 = IDM_ADD2,
    Remove2 = IDM_REMOVE2,
    Add1 = IDM_ADD1,
    SelectAll1 = IDM_SELECTALL1,
    InvertSelection1 = IDM_INVERTSELECTION1,
    Refresh2 = IDM_REFRESH2,
    ViewFullScreen1 = IDM_VIEWFULLSCREEN1,
    MakeScreen2 = IDM_MAKESCREEN2,
    View2 = IDM_VIEW2,
    Remove1 = IDM_REMOVE1,
    Findfile1 = IDM_FINDFILE1,
    SelectAll2 = IDM_SELECTALL2,
    InvertSelection2 = IDM_INVERTSELECTION2,
    SetascurrentScreen1 = IDM_SETASCURRENTSCREEN1,
    Setascurrentwallpaper1 = IDM_SETASCURRENTWALLPAPER1,
    FullScreenPreview1 = IDM_FULLSCREENPREVIEW1,
    Size = IDM_SIZE,
};
static_assert(IDM_SAVE1 >= 1000 && IDM_SIZE < 1200, "menu commands keep to 1000-1199");
static_assert(IDM_PREVIEWBOTH1 - IDM_PREVIEWNONE1 == 3, "the four preview entries are one run");

constexpr int Id(SelectCtl c) {
    return static_cast<int>(c);
}
constexpr int Id(SelectCmd c) {
    return static_cast<int>(c);
}

}  // namespace mvpr

#endif
