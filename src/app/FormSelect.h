#ifndef MVPR_APP_FORMSELECT_H
#define MVPR_APP_FORMSELECT_H

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/FormSelectIds.h"
#include "imaging/ColourAnimation_win.h"
#include "imaging/WinPicture_win.h"
#include "lists/CategoryList.h"
#include "lists/CategoryListView_win.h"
#include "win/FileBrowser_win.h"
#include "lists/ScreenCategory.h"
#include "system/OriginalScreens_win.h"
#include "win/Handles.h"
#include "win/Hints.h"
#include "win/Notice.h"
#include "win/Panel.h"
#include "win/PictureBox.h"
#include "win/SpeedButton.h"
#include "win/Window.h"

#include <shellapi.h>

namespace mvpr {

class ScreenSource;
namespace test {
class FormSelectProbe;
}

// How the main window is set up. The program always runs with the defaults; tests give a
// temporary program folder and can make a loading step fail.
struct FormSelectConfig {
    Places places;                        // empty folders: the machine's own (MachinePlaces)
    std::vector<std::string> parameters;  // the command-line parameters
    bool isMainWindow = true;             // closing it ends the message loop
    // Called as each loading step begins, with the step's name; may throw to make it fail.
    std::function<void(const char* step)> stepHook;
    // Called with every menu command the window carries out (also from shortcuts).
    std::function<void(int id)> commandHook;
};

// The main window: category buttons and lists, the file browser, the preview panel.
class TFormSelect : public win::Window, private FileBrowserEvents {
  public:
    static constexpr const char* kClassName = "TFormSelect";

    explicit TFormSelect(FormSelectConfig config = {});
    ~TFormSelect() override;

    // Creates the window (FormCreate runs inside), hidden.
    HWND CreateForm();
    // The first showing: FormShow, then the window appears unless the program is to end.
    void Show(int showCommand = SW_SHOWNORMAL);
    // Set when the first showing ended the program (uninstall mode).
    bool Terminated() const { return terminated_; }

    void SetVersionTexts(const std::string& version, const std::string& build);
    void SetAboutBox(class TAboutBox* box) { aboutBox_ = box; }
    // Where the full-screen preview is shown from (F3, double click on the preview).
    void SetFullScreenPreview(std::function<void()> show) { fullScreenPreview_ = std::move(show); }

    // The event loop's share: shortcuts (a pop-up's while its control has the focus, then the
    // main menu's) and keyboard navigation. True when the message was handled here.
    bool PreTranslateMessage(MSG& msg);
    const std::string& VersionText() const { return versionText_; }
    const std::string& BuildText() const { return buildText_; }

    // --- what the full-screen preview reads of the window and asks of it --------------------
    ScreenCategory CurrentCategory() const { return current_; }
    const Places& ProgramPlaces() const { return places_; }
    bool PlayAnimations() const;  // the check mark of "Play &Animations"
    // The preview's picture.
    const WinPicture& PreviewPicture() const { return previewPicture_; }
    // True only while the preview's picture was decoded from the file the name strip names: a
    // file that could not be read never borrows another file's picture.
    bool PreviewDecoded() const { return previewDecoded_; }
    HWND Control(SelectCtl id) const;
    std::string HintOf(HWND control) const { return hints_.Get(control); }
    void CBStyleChange();
    // The box belongs to `owner` (the main window when none is given), which has the keyboard after it.
    void SizeClick(HWND owner = nullptr);
    void SetCurrentScreen();

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    // What the tests read and call reaches the rest through their probe.
    friend class test::FormSelectProbe;

    // --- state, as the handlers keep it -----------------------------------------------------
    bool ReportAddErrors() const;  // the check mark of "Report Add &Errors"
    // The name strip's caption: the previewed file.
    const std::string& PreviewCaption() const { return pnlPreviewName_.Caption(); }
    const std::string& CategoryFolder(ScreenCategory c) const { return folders_[CategoryIndex(c)]; }
    CategoryList& ListOf(ScreenCategory c) { return lists_[CategoryIndex(c)]; }
    CategoryListView& ViewOf(ScreenCategory c) { return *views_[CategoryIndex(c)]; }
    CategoryList& CurrentList() { return ListOf(current_); }
    win::SpeedButton& ButtonOf(ScreenCategory c) { return buttons_[CategoryIndex(c)]; }
    HMENU MainMenu1() const { return GetMenu(hwnd()); }
    HMENU PopMFile() const { return GetSubMenu(popMFile_.get(), 0); }
    HMENU PopMSelected() const { return GetSubMenu(popMSelected_.get(), 0); }
    HMENU PopMFileInfo() const { return GetSubMenu(popMFileInfo_.get(), 0); }

    // --- handlers, by the concern of the file that holds them ------------------------------
    // window and layout (FormSelect.cpp)
    void Close1Click();
    void PnlExtendClick();
    void FormResize();
    void Help2Click();
    void About1Click();
    // categories and lists (FormSelectLists.cpp)
    void Change_Screen_Button(HWND sender);
    void LstVSelectedChange(HWND sender);
    void PopMSelectedPopup();
    void DirectoryListBox1Change();
    void Refresh1Click();
    void FilterComboBox1Change();
    // the screen-list file (FormSelectListFile.cpp)
    void LoadScreenLists();
    bool SaveToFile();  // true when the file was written
    void FormCloseQuery(bool& canClose);
    // list maintenance (FormSelectMaintenance.cpp)
    void btnRemoveClick();
    void btnAllSelectClick();
    void btnInvSelectClick();
    void btnAllFilesClick();
    void BtnInvFilesClick();
    void Findfile1Click();
    void Removenonexistingfiles1Click();
    std::size_t PurgeMissingFiles(ScreenCategory category);
    // adding files (FormSelectAdding.cpp)
    void BtnAddClick();
    void AddChosenFile(std::size_t index);
    // Any file, judged and added as a chosen file is (messages, ListsModified); true when added.
    // The caller refreshes the list's view and counter once for the batch.
    bool AddFile(const std::string& folder, const std::string& name);
    // making screens from pictures, and files dropped on the window (FormSelectConvert.cpp)
    void MakeScreen1Click();
    void FormDropFiles(HDROP drop);
    void EnableMakeScreen(HMENU menu);
    void RunMakeScreen(ScreenSource prepared, const std::string& source);
    // preview panel (FormSelectPreview.cpp)
    void ViewChooseBox();
    void ViewSelected(HWND sender);
    void SetSizeHint();
    void ImgPreviewDblClick();
    void pnlPreviewDblClick();
    void PopMFileInfoPopup();
    // settings (FormSelectSettings.cpp)
    void LoadSettings();
    void FormClose();
    void ChangePreviewOn(SelectCmd sender);
    void ChangeErrorReport();
    void PlayAnimations1Click();
    void Runrandomizeratstartup1Click(HWND sender);
    // Writes the Run entry: the randomizer when on, the empty string when off. A failure is
    // reported ("Failed to set data for 'Morvellan'") and gives false.
    bool SetRunEntry(bool on);
    // installing (FormSelectInstall.cpp)
    void SetasCurrentClick();
    // setting the wallpaper (FormSelectWallpaper.cpp)
    void SetWallpaperFromPreview();
    // checking why a screen is not shown (FormSelectCheck.cpp)
    void CheckScreens1Click();
    // original screens and uninstall (FormSelectSystem.cpp)
    // Backs up what is not recorded yet; reports screens it could not back up.
    void BackupOriginalScreens();
    // Puts the recorded originals back, reporting what it could not; tells whether some original
    // still lives only in its backup and whether anything was put back.
    RestoreReport RestoreOriginalScreens();
    void OriginalScreens1Click();
    void Uninstall2Click();

    // creation and layout (FormSelect.cpp)
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void CreateControls();
    int Scaled(int v) const;
    void ArrangeTabOrder();
    HWND AddControl(const char* cls, const char* text, DWORD style, DWORD exStyle, SelectCtl id, RECT bounds);
    // Static text as wide and high as its text.
    HWND AddLabel(const char* text, SelectCtl id, int x, int y, DWORD style);
    // Moves the controls that follow the right or bottom edge to where the layout puts them.
    void FollowClientSize();
    void OnCommand(int id, int code, HWND control);
    LRESULT OnNotify(const NMHDR& header);
    void RunStep(const char* step, void (TFormSelect::*fn)());
    void ShowPopup(HMENU menu, HWND owner, LPARAM screenPoint);

    // lists and categories (FormSelectLists.cpp)
    void CountRefresh();
    void HighlightButton(ScreenCategory c, bool highlighted);
    std::optional<ScreenCategory> CategoryOfButton(HWND button) const;
    std::optional<ScreenCategory> CategoryOfList(HWND list) const;
    void SetStylePicker(int index);

    // installing (FormSelectInstall.cpp)
    const std::string& WindowsDir() const { return places_.windowsDir; }

    // preview (FormSelectPreview.cpp)
    void CreatePreviewPlaceholder();
    void EnterNoSelectionState();
    void LoadPreview(const std::string& path);
    // Plays the previewed screen's colour cycle in the panel when it has one, the option is on and
    // a screen category is current; otherwise the panel shows its still picture.
    void UpdatePreviewAnimation();

    // FileBrowserEvents
    // (The browser reports its first filling while the window is still being built: not yet.)
    void DirectoryChanged() override {
        if (controlsReady_) DirectoryListBox1Change();
    }
    void FileListChanged() override {
        if (controlsReady_) ViewChooseBox();
    }
    void FileListDoubleClicked() override { BtnAddClick(); }
    void FilterChanged() override {
        if (controlsReady_) FilterComboBox1Change();
    }

    FormSelectConfig config_;
    // state
    ScreenCategory current_ = ScreenCategory::Start;
    bool autoPreview_ = false;
    // Switches the automatic preview off for a scope and on again when it ends, also by an error.
    class AutoPreviewOff {
      public:
        explicit AutoPreviewOff(TFormSelect& form) : flag_(form.autoPreview_) { flag_ = false; }
        ~AutoPreviewOff() { flag_ = true; }
        AutoPreviewOff(const AutoPreviewOff&) = delete;
        AutoPreviewOff& operator=(const AutoPreviewOff&) = delete;

      private:
        bool& flag_;
    };
    bool listsModified_ = false;
    bool uninstalled_ = false;
    bool commandLineUninstall_ = false;
    bool settingsLoaded_ = false;
    bool terminated_ = false;
    bool controlsReady_ = false;
    bool listFileUnread_ = false;   // the list file was there but not (wholly) read at start-up
    bool listFileSkipped_ = false;  // ... or held lines under no known header
    bool purging_ = false;          // commands wait until the purge is over
    Places places_;
    std::string helpFile_;
    std::string versionText_;
    std::string buildText_;
    std::array<std::string, 4> folders_;
    int normalWidth_ = 0;  // the width maximising keeps
    int previewMode_ = 30;
    WinPicture previewPicture_;
    bool previewFromBitmapReader_ = false;  // the preview's picture was read as a screen bitmap
    bool previewDecoded_ = false;           // ... from the named file (see PreviewDecoded)
    std::function<void()> fullScreenPreview_;
    ColourAnimation previewAnimation_;
    class TAboutBox* aboutBox_ = nullptr;

    // controls
    win::UniqueFont font_, boldFont_;
    std::array<win::SpeedButton, 4> buttons_;
    std::array<CategoryList, 4> lists_;
    std::array<std::unique_ptr<CategoryListView>, 4> views_;
    FileBrowser browser_{*this};
    win::Panel pnlPreview_, pnlPreviewName_, pnlExtend_;
    win::PictureBox imgPreview_;
    win::Hints hints_;
    win::Notice notice_;  // what an install or a restore did
    // The main menu belongs to the window; the pop-ups are ours. The layout copy of the preview
    // pop-up tells where its hidden entries go back.
    win::UniqueMenu popMFile_, popMSelected_, popMFileInfo_, popMFileInfoLayout_;
    HACCEL accelMain_ = nullptr, accelFile_ = nullptr, accelSelected_ = nullptr;  // resources, never freed
};

}  // namespace mvpr

#endif
