// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/Catalogue.h"

#include <string_view>

namespace quillora {
namespace {

using C = Command;

// One command's item in the five trees: its name and caption per language.
struct Cell {
  const char *name;
  const char *caption;
};
using Column = std::array<Cell, LanguageCount>;
using Keys = std::array<const char *, LanguageCount>;

// A row of a menu table: a command and its item in each tree. A caption of
// "-" is a separator. The rows are in menu order.
struct Row {
  Command command;
  Column cells;
  Keys keys = {};
};

// clang-format off

// ---- The frame window, shown while no document window is open ----

const Column FrameFileMenu = {{{"mnuFile", "&File"}, {"mnuFichier", "&Fichier"}, {"mnuSPArchivo", "&Archivo"},
                               {"mnuGDatei", "&Datei"}, {"mnuIFile", "&File"}}};
// New and Exit read the same in the frame and in the document window.
const Row NewRow = {C::New,  {{{"mnuFNew", "&New"}, {"mnuNouveau", "&Nouveau"}, {"mnuSPANuevo", "&Nuevo"}, {"mnuGDNeu", "&Neu"}, {"mnuIFNuovo", "&Nuovo"}}}, {"Ctrl+N"}};
const Column ExitItems = {{{"mnuFExit", "E&xit"}, {"mnuQuitter", "&Quitter"}, {"mnuSPASalir", "&Salir"}, {"mnuGDBeenden", "&Beenden"}, {"mnuIFEsci", "&Esci"}}};
// The frame's Exit ends the program at once; a document's closes the frame.
const Row FrameExitRow = {C::EndProgram, ExitItems, {"Ctrl+E"}};
const Row ExitRow = {C::Exit, ExitItems, {"Ctrl+E"}};
const Row FrameFileRows[] = {
    NewRow,
    {C::Open, {{{"mnuFOpen", "&Open"}, {"mnuOuvrir", "&Ouvrir.."}, {"mnuSPAAbrir", "&Abrir.."}, {"mnuGDOffnen", "Ö&ffnen"}, {"mnuIFApri", "&Apri..."}}}, {"Ctrl+O"}},
    FrameExitRow,
};
const Column FrameOptionsMenu = {{{"mnuOptions", "&Options"}, {"mnuOption", "&Options"}, {"mnuSPOpciones", "&Opciones"},
                                  {"mnuGOptionen", "&Optionen"}, {"mnuIFOpzioni", "&Opzioni"}}};
const Column FrameToolbar = {{{"mnuOToolbar", "&Toolbar"}, {"mnuBarre", "&Barre d'outils"}, {"mnuSPOBarra", "&Barra de herramientas"},
                              {"mnuGOSymbol", "&Symbolleiste"}, {"mnuIOBarra", "&Barra degli strumenti"}}};
const Column FrameLanguagesMenu = {{{"mnuLanguages", "&Languages"}, {"mnuLangues", "&Langues"}, {"mnuSPOIdioma", "&Idioma"},
                                    {"mnuGOSprache", "S&prache"}, {"mnuIOLingua", "&Lingua"}}};
const Keys FrameLanguageArrays = {"mnuLanguagesItem", "mnuLanguesItem", "mnuSPOIdiomaItem", "mnuGOSpracheItem", "mnuIOLinguaItem"};
// By tree, then by language index.
const std::array<Keys, LanguageCount> FrameLanguageCaptions = {{
    {"English", "&French", "&Spanish", "&German", "&Italian"},
    {"&Anglais", "Francais", "&Espagnol", "A&llemand", "&Italien"},
    {"&Ingles", "&Frances", "Espanol", "&Alemán", "Italiano"},
    {"&Englisch", "&Französisch", "&Spanisch", "&Deutsch", "&Italianisch"},
    {"&Inglese", "&Francese", "&Spagnolo", "&Tedesco", "Italiano"},
}};

// ---- The document window ----

const Column DocFileMenu = FrameFileMenu;
const Row DocFileRows[] = {
    NewRow,
    {C::Open,     {{{"mnuFOpen", "&Open..."}, {"mnuOuvrir", "&Ouvrir.."}, {"mnuSPAAbrir", "&Abrir.."}, {"mnuGDOffnen", "Ö&ffnen"}, {"mnuIFApri", "&Apri..."}}}, {"Ctrl+O"}},
    {C::Close,    {{{"mnuFClose", "&Close"}, {"mnuFermer", "Fe&rmer"}, {"mnuSPACerrar", "&Cerrar"}, {"mnuGDSchle", "Schließen"}, {"mnuIFChiudi", "&Chiudi"}}}},
    {C::Save,     {{{"mnuFSave", "&Save"}, {"mnuSauver", "&Sauver"}, {"mnuSPAGuardar", "&Guardar"}, {"mnuGDSpeichern", "S&peichern"}, {"mnuIFSalva", "&Salva"}}}, {"Ctrl+S"}},
    {C::SaveAs,   {{{"mnuFSaveAs", "Save &As..."}, {"mnuSauverSous", "Sa&uver Sous.."}, {"mnuSPAGuacomo", "G&uardar como.."}, {"mnuGDSpeichernUnter", "Speichern &unter"}, {"mnuIFSalvaCon", "Salva con &nome..."}}}},
    {C::None,     {{{"mnuFSep0", "-"}, {"mnuSep0", "-"}, {"mnuSPsep0", "-"}, {"mnuGsep0", "-"}, {"mnuISep", "-"}}}},
    {C::Print,    {{{"mnuFPrint", "&Print..."}, {"mnuImprimer", "&Imprimer..."}, {"mnuSPAPrintar", "&Imprimir..."}, {"mnuGDPrintein", "&Drucken..."}, {"mnuIFStanpa", "Stam&pa..."}}}, {"Ctrl+P"}},
    {C::None,     {{{"mnuSep3", "-"}, {"mnuSep2", "-"}, {"mnuSSep2", "-"}, {"mnuGSep3", "-"}, {"mnuIsep2", "-"}}}},
    {C::SendMail, {{{"mnuFSend", "S&end Mail..."}, {"mnuEnvoyer", "&Envoyer courrier..."}, {"mnuSAEnviar", "&Enviar correo..."}, {"mnuGDEmail", "&E-Mail senden..."}, {"mnuIFEnvia", "&Invia messaggio..."}}}},
    {C::None,     {{{"mnuFSep", "-"}, {"mnuSep", "-"}, {"mnuSPsep", "-"}, {"mnuGsep1", "-"}, {"mnuIFsep2", "-"}}}},
    ExitRow,
};

const Column DocEditMenu = {{{"mnuEdit", "&Edit"}, {"mnuEditer", "&Editer"}, {"mnuSPEdition", "&Edición"},
                             {"mnuGBearbeiten", "&Bearbeiten"}, {"mnuIModifica", "&Modifica"}}};
const Row DocEditRows[] = {
    {C::Cut,       {{{"mnuECut", "Cu&t"}, {"mnuCouper", "&Couper"}, {"mnuSPECortar", "&Cortar"}, {"mnuGBAussch", "&Ausschneiden"}, {"mnuIMTaglia", "&Taglia"}}}, {"Ctrl+X", "Ctrl+U"}},
    {C::Copy,      {{{"mnuECopy", "&Copy"}, {"mnuCopier", "Co&pier"}, {"mnuSPECopiar", "Co&piar"}, {"mnuGBKopieren", "&Kopieren"}, {"mnuIMCopia", "&Copia"}}}, {"Ctrl+C", "Ctrl+I"}},
    {C::Paste,     {{{"mnuEPaste", "&Paste"}, {"mnuColler", "Co&ller"}, {"mnuSPEPegar", "&Pegar"}, {"mnuGBEinfugen", "&Einfügen"}, {"mnuIMIncolla", "&Incolla"}}}, {"Ctrl+V", "Ctrl+L"}},
    // The Italian item runs Delete like the other four.
    {C::Delete,    {{{"mnuEDelete", "De&lete"}, {"mnEffacer", "&Effacer"}, {"mnuSPEEliminar", "&Eliminar"}, {"mnuGBLoschen", "&Löschen"}, {"mnuIMElimina", "&Elimina"}}}, {"Del", "Alt+Backspace"}},
    {C::None,      {{{"mnuESep1", "-"}, {"mnuSep1", "-"}, {"mnuSPEsep1", "-"}, {"mnuGSep2", "-"}, {"mnuIsep1", "-"}}}},
    {C::SelectAll, {{{"mnuESelectAll", "Select &All"}, {"mnuTout", "&Tout Sélectionner"}, {"mnuSPESelec", "&Seleccionar todo"}, {"mnuGBMarkieren", "Alles &markieren"}, {"mnuIMSelezionare", "&Seleziona tutto"}}}, {"Ctrl+A", "Shift+F1"}},
    {C::TimeDate,  {{{"mnuETime", "Time/&Date"}, {"mnuHeure", "Heure/Date"}, {"mnuSPEHora", "Hora/Fecha"}, {"mnuGBDatum", "&Datum/Uhrzeit"}, {"mnuIMTempo", "Tem&po"}}}},
};

const Column DocSearchMenu = {{{"mnuSearch", "&Search"}, {"mnuChercher", "&Chercher"}, {"mnuSPBuscar", "&Buscar"},
                               {"mnuGSuchen", "&Suchen"}, {"mnuICerca", "&Cerca"}}};
const Row DocSearchRows[] = {
    {C::Find,     {{{"mnuSFind", "&Find"}, {"mnuTrouver", "&Trouver"}, {"mnuSPBBuscar2", "&Buscar"}, {"mnuGSSuchen2", "&Suchen"}, {"mnuICTrova", "&Trova..."}}}},
    {C::FindNext, {{{"mnuSFindNext", "Find &Next"}, {"mnuPlus", "Trouver &Plus"}, {"mnuSPBSiguiente", "Buscar &siguiente"}, {"mnuGSWeitersuchen", "&Weitersuchen"}, {"mnuICTrova2", "Trova &successivo"}}}, {"F3"}},
};

// The document's Options menu holds Languages first, unlike the frame's.
const Column DocOptionsMenu = {{{"mnuOptions", "&Options"}, {"mnuOptionnel", "&Options"}, {"mnuSPOpciones", "&Opciones"},
                                {"mnuGOptionen", "&Optionen"}, {"mnuIOpzioni", "&Opzioni"}}};
const Column DocLanguagesMenu = {{{"mnuLanguages", "&Languages"}, {"mnuLangues", "&Langues"}, {"mnuSPIdioma", "&Idioma"},
                                  {"mnuGOSprache", "&Sprache"}, {"mnuIOLangua", "&Lingua"}}};
const Keys DocLanguageArrays = {"mnuLanguagesItem", "mnuLanguesItem", "mnuSPIdiomaItem", "mnuGOSpracheItem", "mnuIOLanguaItem"};
const std::array<Keys, LanguageCount> DocLanguageCaptions = {{
    {"&English", "&French", "&Spanish", "&German", "&Italian"},
    {"&Anglais", "Français", "&Espagnol", "Allemand", "&Italien"},
    {"&Ingles", "&Frances", "&Español", "&Alemán", "I&taliano"},
    {"&Englisch", "&Französisch", "&Spanisch", "&Deutsch", "&Italianisch"},
    {"&Inglese", "&Francese", "&Spagnolo", "&Tedesco", "Italiano"},
}};
const Column DocToolbar = {{{"mnuOToolbar", "&Toolbar"}, {"mnuBarre", "&Barre d'outils"}, {"mnuSPOBarra", "&Barra de herramientas"},
                            {"mnuGOSymbolleiste", "S&ymbolleiste"}, {"mnuIOBarra", "&Barra degli strumenti"}}};
const Column DocFontMenu = {{{"mnuFont", "&Font"}, {"mnuPolice", "&Polices"}, {"mnuSPOFuentes", "&Fuentes"},
                             {"mnuGOSchriftart", "S&chriftart"}, {"mnuIOTipo", "&Tipo"}}};
const Keys DocFontArrays = {"mnuFontName", "mnuPoliceNom", "mnuSPOFuentesItem", "mnuGOSchriftartItem", "mnuIOTipo2"};
const Column DocSizeMenu = {{{"mnuFontSize", "Font &Size"}, {"mnuTaille", "&Taille de police"}, {"mnuSTamano", "&Tamaño de fuente"},
                             {"mnuGTaillePolice", "Schrift&grad"}, {"mnuIDimensione", "&Dimensione"}}};
const Keys DocSizeArrays = {"mnuFontSizeItem", "mnuTailleItem", "mnuSTamanoItem", "mnuGTaillePoliceItem", "mnuIDimensioneItem"};

const Column DocWindowMenu = {{{"mnuWindow", "&Window"}, {"mnuFenetre", "Fenê&tre"}, {"mnuSPVentana", "&Ventana"},
                               {"mnuGFenster", "&Fenster"}, {"mnuIFinestra", "Fi&nestra"}}};
const Row DocCascade = {C::Cascade,      {{{"mnuWCascade", "&Cascade"}, {"mnuCascade", "&Cascade"}, {"mnuSPVCascada", "&Cascada"}, {"mnuGFUberlappend", "&Überlappend"}, {"mnuIFISovra", "&Sovrapponi"}}}};
const Row DocTile = {C::Tile,            {{{"mnuWTile", "&Tile"}, {"mnuMosaique", "&Mosaïque"}, {"mnuSPVMosaico", "&Mosaico"}, {"mnuGFNeben", "&Nebeneinander"}, {"mnuIFIAffianca", "&Affianca"}}}};
const Row DocArrange = {C::ArrangeIcons, {{{"mnuWArrange", "&Arrange Icons"}, {"mnuArranger", "&Arranger icônes"}, {"mnuSPVOrgan", "&Organizar iconos"}, {"mnuGFSymbole", "&Symbole anordnen"}, {"mnuIFIDisporre", "&Disporre icone"}}}};

const Column DocHelpMenu = {{{"mnuHelp", "&Help"}, {"mnuInfo", "&?"}, {"mnuSAyuda", "&Ay&uda"}, {"mnuGInfo", "&Info.."}, {"mnuIGuida", "&?"}}};
const Row DocAbout = {C::About, {{{"mnuAbout", "&About QLRA"}, {"mnuApropos", "&A propos de QLRA"}, {"mnuSInfo", "&Acerca de QLRA"}, {"mnuGQLRA", "&Info über QLRA"}, {"mnuIInformazioni", "&Informazioni su QLRA"}}}};

// clang-format on

ItemDef item(const Cell &cell, Command command, const char *shortcut = nullptr) {
  ItemDef d;
  d.name = cell.name;
  d.caption = cell.caption;
  d.command = command;
  d.shortcut = shortcut;
  return d;
}

ItemDef rowItem(const Row &row, int language) {
  return item(row.cells[std::size_t(language)], row.command, row.keys[std::size_t(language)]);
}

template <std::size_t N>
std::vector<ItemDef> rowItems(const Row (&rows)[N], int language) {
  std::vector<ItemDef> items;
  for (const Row &row : rows) items.push_back(rowItem(row, language));
  return items;
}

ItemDef submenu(const Cell &cell, std::vector<ItemDef> items) {
  ItemDef d = item(cell, Command::None);
  d.items = std::move(items);
  return d;
}

// A Languages submenu: five items indexed by language, the tree's own greyed.
ItemDef languages(const Cell &menu, const char *arrayName, const Keys &captions, int own) {
  std::vector<ItemDef> items;
  for (int i = 0; i < LanguageCount; ++i) {
    ItemDef d = item({arrayName, captions[std::size_t(i)]}, Command::Language);
    d.index = i;
    d.disabled = (i == own);
    items.push_back(d);
  }
  return submenu(menu, std::move(items));
}

// The font names are filled in at run time, when the menu is first opened.
ItemDef fontNames(const Cell &menu, const char *arrayName) {
  ItemDef d = item(menu, Command::FontName);
  d.runtimeArray = arrayName;
  return d;
}

ItemDef fontSizes(const Cell &menu, const char *arrayName) {
  static const std::array<const char *, 5> captions = {"10", "12", "14", "18", "24"};
  std::vector<ItemDef> items;
  for (int i = 0; i < 5; ++i) {
    ItemDef d = item({arrayName, captions[std::size_t(i)]}, Command::FontSize);
    d.index = i;
    d.checkable = true;
    items.push_back(d);
  }
  return submenu(menu, std::move(items));
}

// The check mark lives on the English Toolbar item alone.
ItemDef toolbarItem(const Cell &cell) {
  ItemDef d = item(cell, Command::Toolbar);
  d.checkable = std::string_view(cell.name) == "mnuOToolbar";
  return d;
}

// Hidden entries kept for the recent-file list, which is written but never shown.
void appendRecentEntries(std::vector<ItemDef> &items, const char *arrayName, Command command,
                         const std::array<const char *, 5> &captions) {
  for (int i = 0; i < 5; ++i) {
    ItemDef d = item({arrayName, captions[std::size_t(i)]}, i == 0 ? Command::None : command);
    d.index = i;
    d.hidden = true;
    items.push_back(d);
  }
}

constexpr std::array<const char *, 5> RecentCaptions = {"-", "RecentFile1", "RecentFile2", "RecentFile3",
                                                        "RecentFile4"};

MenuDef menu(const Column &column, int language, std::vector<ItemDef> items) {
  return {column[std::size_t(language)].name, column[std::size_t(language)].caption, std::move(items)};
}

TreeDef frameTree(int l) {
  const std::size_t i = std::size_t(l);
  std::vector<ItemDef> file = rowItems(FrameFileRows, l);
  if (l == English) {
    file.push_back(item({"mnuSeparator", "-"}, Command::None));
    appendRecentEntries(file, "mnuRecentFile", Command::RecentFile, RecentCaptions);
  }
  return {l,
          {menu(FrameFileMenu, l, std::move(file)),
           menu(FrameOptionsMenu, l,
                {toolbarItem(FrameToolbar[i]),
                 languages(FrameLanguagesMenu[i], FrameLanguageArrays[i], FrameLanguageCaptions[i], l)})}};
}

TreeDef documentTree(int l) {
  const std::size_t i = std::size_t(l);
  std::vector<ItemDef> file = rowItems(DocFileRows, l);
  if (l == English) appendRecentEntries(file, "mnuRecentFile", Command::RecentFile, RecentCaptions);
  if (l == French)  // a second set that nothing ever shows or wires
    appendRecentEntries(file, "mnuRecent", Command::None,
                        {"-", "RecentFile1", "RecentFile2", "RecentFille3", "RecentFile4"});
  // Spanish and German list Tile before Cascade.
  const bool tileFirst = (l == Spanish || l == German);
  std::vector<ItemDef> window = {rowItem(tileFirst ? DocTile : DocCascade, l),
                                 rowItem(tileFirst ? DocCascade : DocTile, l), rowItem(DocArrange, l)};
  TreeDef tree{l,
               {menu(DocFileMenu, l, std::move(file)), menu(DocEditMenu, l, rowItems(DocEditRows, l)),
                menu(DocSearchMenu, l, rowItems(DocSearchRows, l)),
                menu(DocOptionsMenu, l,
                     {languages(DocLanguagesMenu[i], DocLanguageArrays[i], DocLanguageCaptions[i], l),
                      toolbarItem(DocToolbar[i]), fontNames(DocFontMenu[i], DocFontArrays[i]),
                      fontSizes(DocSizeMenu[i], DocSizeArrays[i])}),
                menu(DocWindowMenu, l, std::move(window)), menu(DocHelpMenu, l, {rowItem(DocAbout, l)})}};
  // The English File menu lists the open document windows.
  tree.menus[0].windowList = (l == English);
  return tree;
}

template <typename Build>
Trees buildTrees(Build build) {
  Trees trees;
  for (int l = 0; l < LanguageCount; ++l) trees[std::size_t(l)] = build(l);
  return trees;
}

}  // namespace

const Trees &FrameTrees() {
  static const Trees trees = buildTrees(frameTree);
  return trees;
}

const Trees &DocumentTrees() {
  static const Trees trees = buildTrees(documentTree);
  return trees;
}

const FindTexts &FindDialogTexts(int language) {
  static const std::array<FindTexts, LanguageCount> texts = {{
      {"Find", "Fi&nd What:", "Match &Case", "Direction", "&Up", "&Down", "&Find", "Cancel"},
      {"Chercher", "Chercher..", "&Respecter la casse", nullptr, "&Haut", "&Bas", "&Chercher", "Annuler"},
      {"Buscar", "Buscar..", "&MAYÚS", "Dirección", "&Arriba", "A&bajo", "&Buscar", "Cancelar"},
      {"Suchen", "Suchen..", "&UF", "Suchrichtung", "&Auf", "A&b", "&Finden", "Abbrechen"},
      {"Cerca", "Trova..", "&MAIUSC", "Direzione", "&Su", "&Giù", "&Trova", "Anulla"},
  }};
  return texts.at(static_cast<std::size_t>(language));
}

const AboutTexts &AboutBoxTexts(int language) {
  static const std::array<AboutTexts, LanguageCount> texts = {{
      {"About", "Version 1.3", "for Windows 95/NT"},
      {"A propos de..", "Version 1.3", "pour Windows 95/NT"},
      {"Acerca de..", "Versión 1.3", "para Windows 95/NT"},
      {"Info..", "Version 1.3", "for Windows 95/NT"},
      {"Informazioni..", "Versione 1.3", "per Windows 95/NT"},
  }};
  return texts.at(static_cast<std::size_t>(language));
}

namespace {
const ItemDef *findCommand(const std::vector<ItemDef> &items, Command command) {
  for (const ItemDef &item : items) {
    if (item.command == command && !item.isMenu()) return &item;
    if (const ItemDef *found = findCommand(item.items, command)) return found;
  }
  return nullptr;
}
}  // namespace

QString CommandName(int language, Command command) {
  for (const MenuDef &menu : DocumentTrees().at(std::size_t(language)).menus) {
    if (const ItemDef *item = findCommand(menu.items, command)) {
      QString name = QString::fromUtf8(item->caption).remove(u'&');
      while (name.endsWith(u'.')) name.chop(1);
      return name;
    }
  }
  return {};
}

QString LanguageName(int language) {
  static const std::array<const char *, LanguageCount> names = {"English", "Français", "Español", "Deutsch",
                                                                "Italiano"};
  return QString::fromUtf8(names.at(static_cast<std::size_t>(language)));
}

QStringList RecentEntryCaptions() {
  QStringList captions;
  for (std::size_t i = 1; i < RecentCaptions.size(); ++i) captions.append(QString::fromLatin1(RecentCaptions[i]));
  return captions;
}

QString MailErrorTitle(int language) {
  return QString::fromUtf8(language == French ? "Erreur d'envoi" : "Mail Send Error");
}

}  // namespace quillora
