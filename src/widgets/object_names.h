#pragma once

#include <QString>

// Every control of a window carries a fixed object name: the tests and the screen
// checks find it by that name. The names are kept exactly as they have always been,
// because stored screen checks and test scripts rely on them; they are data, listed
// here and nowhere else. The windows themselves reach their controls through typed
// members only.
namespace widgets {

template <typename Object> Object* named(Object* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

namespace objectnames {

// The main window.
namespace main_window {
inline constexpr char window[] = "TMainForm_TX_ODT";
inline constexpr char centralPanel[] = "MainPanel";
inline constexpr char catalogue[] = "ListBox1";
inline constexpr char listIcon[] = "Image2";
inline constexpr char statusLine[] = "Label1";
inline constexpr char progressLine[] = "Label2";
inline constexpr char patienceLabel[] = "GeduldLabel";
inline constexpr char catalogueMenu[] = "PopupMenu1";
inline constexpr char deleteDatabaseEntry[] = "Datenbankloeschen1";
inline constexpr char toolbar[] = "ToolBar1";
inline constexpr char productLabel[] = "SpeedButton3";
inline constexpr char toolbarSpacer[] = "ToolButton1";
inline constexpr char helpButton[] = "SpeedButton1";
inline constexpr char settingsButton[] = "SpeedButton2";
inline constexpr char logoPanel[] = "Panel1";
inline constexpr char logo[] = "Image1";
inline constexpr char searchButton[] = "SuchenBtn";
inline constexpr char newDatabaseButton[] = "NeuErstellenBtn";
inline constexpr char reindexButton[] = "ErneutIndiziereBtn";
inline constexpr char closeButton[] = "BitBtn2";
inline constexpr char toolWatchTimer[] = "UeberwachTimer";
inline constexpr char progressTimer[] = "Timer1";
inline constexpr char patienceTimer[] = "GedultTimer";
inline constexpr char scannerTimer[] = "checkDefenderTimer";
} // namespace main_window

// The new-database dialog.
namespace new_database_dialog {
inline constexpr char window[] = "TOKBottomDlg";
inline constexpr char nameLabel[] = "Label1";
inline constexpr char nameField[] = "Edit1";
inline constexpr char folderLabel[] = "Label2";
inline constexpr char folderField[] = "Edit2";
inline constexpr char chooseFolderButton[] = "OrdnerwaehlenButton";
inline constexpr char patternLabel[] = "Label3";
inline constexpr char patternField[] = "Edit3";
inline constexpr char clearPatternsButton[] = "Button1";
inline constexpr char patternChoiceButton[] = "BitBtn2";
inline constexpr char patternChoice[] = "ComboBox1";
inline constexpr char toolNoteFirst[] = "Label4";
inline constexpr char toolNoteSecond[] = "Label5";
inline constexpr char toolNoteThird[] = "Label6";
inline constexpr char listPicture[] = "Image1";
inline constexpr char odtCheckBox[] = "ODTDokumenteErstellenCheckBox";
inline constexpr char okButton[] = "OKBtn";
inline constexpr char cancelButton[] = "CancelBtn";
} // namespace new_database_dialog

// The question window of the new-database dialog.
namespace question_window {
inline constexpr char window[] = "THinweisForm";
inline constexpr char text[] = "Memo1";
inline constexpr char yesButton[] = "Button1";
inline constexpr char noButton[] = "Button2";
} // namespace question_window

// The notice shown while a search runs.
namespace searching_notice {
inline constexpr char window[] = "TBinbeimSuchenForm";
inline constexpr char searchText[] = "SearchText";
inline constexpr char cancelButton[] = "CancelButton";
} // namespace searching_notice

// The search window.
namespace search_window {
inline constexpr char window[] = "TSuchForm";
inline constexpr char abortWaitTimer[] = "Timer1";
inline constexpr char titleTimer[] = "Timer2";
inline constexpr char splitter[] = "Splitter1";
inline constexpr char titleButton[] = "TitelButton";
inline constexpr char settingsButton[] = "SpeedButton2";
inline constexpr char helpButton[] = "SpeedButton1";
inline constexpr char leftPanel[] = "PanelLinks";
inline constexpr char hintLabel[] = "Label1";
inline constexpr char caseBox[] = "GrossKleinBeachten";
inline constexpr char wholeWordBox[] = "NurGanzeWoerterCheckBox";
inline constexpr char phraseBox[] = "PhraseCheckBox";
inline constexpr char anyWordBox[] = "OderCheckBox";
inline constexpr char clipboardField[] = "ClipbrdTntEdit";
inline constexpr char bottomPanel[] = "PanelUnten";
inline constexpr char webSearchButton[] = "SuchImInternetBtn";
inline constexpr char localSearchButton[] = "OKBtn";
inline constexpr char sortedListButton[] = "ZeilenAlsListeSortieren";
inline constexpr char loadTextButton[] = "UTF8LadenButton";
inline constexpr char cancelButton[] = "CancelBtn";
} // namespace search_window

// The settings dialog.
namespace settings_dialog {
inline constexpr char window[] = "TEinstellform";
inline constexpr char defaultBrowserPicture[] = "standard_Image";
inline constexpr char internetExplorerPicture[] = "ie_Image";
inline constexpr char edgePicture[] = "edge_Image";
inline constexpr char chromePicture[] = "chrome_Image";
inline constexpr char operaPicture[] = "opera_Image";
inline constexpr char safariPicture[] = "safari_Image";
inline constexpr char firefoxPicture[] = "firefox_Image";
inline constexpr char clipboardBox[] = "SuchtextInClipbrdCheckBox";
inline constexpr char coloursButton[] = "FarbenAendernButton";
inline constexpr char hintColoursButton[] = "HinweistexteFarbenAendernButton";
inline constexpr char defaultsButton[] = "Button1";
inline constexpr char positionsButton[] = "Button2";
inline constexpr char sortedListsButton[] = "SortierungAnzeigenBitBtn";
inline constexpr char viewerHintBox[] = "KurzhinweisImViewerZeigenCheckBox";
inline constexpr char umlautBox[] = "FoldUmlautsCheckBox";
inline constexpr char largerFontButton[] = "SpeedButton1";
inline constexpr char smallerFontButton[] = "SpeedButton2";
inline constexpr char fontLabel[] = "Label1";
inline constexpr char installedLabel[] = "Label2";
inline constexpr char currentLabel[] = "Label3";
inline constexpr char pickLabel[] = "Label4";
inline constexpr char unchangedLabel[] = "Label5";
inline constexpr char okButton[] = "OkButton";
inline constexpr char cancelButton[] = "AbbruchButton";
inline constexpr char currentBrowserPicture[] = "AktuellerBrowser_Image";
inline constexpr char emptyPicture[] = "leer_Image";
} // namespace settings_dialog

// The paged text viewer.
namespace document_view {
inline constexpr char view[] = "Viewer";
} // namespace document_view

// The mirror box over the viewer.
namespace mirror_box {
inline constexpr char box[] = "ViewerMemo";
inline constexpr char popupMenu[] = "PopupMenu1";
} // namespace mirror_box

// The sorted-list builder of the search window.
namespace list_builder_panel {
inline constexpr char panel[] = "ListBuilder";
inline constexpr char hintLabel[] = "Label3";
inline constexpr char bevel[] = "Bevel5";
inline constexpr char caption[] = "Label4";
inline constexpr char progress[] = "ProgressBar1";
inline constexpr char kinds[] = "RadioGroup1";
inline constexpr char wordsOnly[] = "nurWoerterButton";
inline constexpr char phrasesOnly[] = "nurSaetzeButton";
inline constexpr char wordsAndPhrases[] = "WoerterUndSaetzeButton";
inline constexpr char buildButton[] = "SortierteListenErstellenButton";
inline constexpr char stopButton[] = "SortAbbrechenButton";
} // namespace list_builder_panel

// The search bar of the search window.
namespace search_bar {
inline constexpr char text[] = "TntEdit2";
inline constexpr char clearButton[] = "Button1";
inline constexpr char history[] = "TntListBox2";
} // namespace search_bar

// The viewer panel of the search window.
namespace viewer_panel {
inline constexpr char panel[] = "PanelRechts";
inline constexpr char caption[] = "Label8";
inline constexpr char pageOffset[] = "Label2";
inline constexpr char findBar[] = "TntEdit1";
inline constexpr char clearFindButton[] = "Button2";
inline constexpr char findButton[] = "WeiterSuche";
inline constexpr char bookmarkButton[] = "LesezeichenBtn";
} // namespace viewer_panel

// The web-site panel of the search window.
namespace web_site_panel {
inline constexpr char panel[] = "Panel2";
inline constexpr char caption[] = "TntLabel1";
inline constexpr char hint[] = "Label5";
inline constexpr char topics[] = "TntComboBox1";
inline constexpr char sites[] = "TntListBox1";
} // namespace web_site_panel

} // namespace objectnames

} // namespace widgets
