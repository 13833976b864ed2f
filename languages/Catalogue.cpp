#include "languages/Catalogue.h"

#include <string_view>

namespace quillora {
namespace {

ItemDef item(const char *name, const char *caption, Command command, const char *shortcut = nullptr) {
  ItemDef d;
  d.name = name;
  d.caption = caption;
  d.command = command;
  d.shortcut = shortcut;
  return d;
}

ItemDef separator(const char *name) { return item(name, "-", Command::None); }

ItemDef submenu(const char *name, const char *caption, std::vector<ItemDef> items) {
  ItemDef d = item(name, caption, Command::None);
  d.items = std::move(items);
  return d;
}

// A Languages submenu: five items indexed by language, the tree's own greyed.
ItemDef languages(const char *menuName, const char *menuCaption, const char *arrayName,
                  std::array<const char *, LanguageCount> captions, int own) {
  std::vector<ItemDef> items;
  for (int i = 0; i < LanguageCount; ++i) {
    ItemDef d = item(arrayName, captions[i], Command::Language);
    d.index = i;
    d.disabled = (i == own);
    items.push_back(d);
  }
  return submenu(menuName, menuCaption, std::move(items));
}

ItemDef fontNames(const char *menuName, const char *menuCaption, const char *arrayName) {
  ItemDef d = item(menuName, menuCaption, Command::FontName);
  d.runtimeArray = arrayName;
  return d;
}

ItemDef fontSizes(const char *menuName, const char *menuCaption, const char *arrayName) {
  std::vector<ItemDef> items;
  static const std::array<const char *, 5> captions = {"10", "12", "14", "18", "24"};
  for (int i = 0; i < 5; ++i) {
    ItemDef d = item(arrayName, captions[i], Command::FontSize);
    d.index = i;
    d.checkable = true;
    items.push_back(d);
  }
  return submenu(menuName, menuCaption, std::move(items));
}

// Hidden entries kept for the recent-file list, which is written but never shown.
void appendRecentEntries(std::vector<ItemDef> &items, const char *arrayName, Command command,
                         std::array<const char *, 5> captions) {
  for (int i = 0; i < 5; ++i) {
    ItemDef d = item(arrayName, captions[i], i == 0 ? Command::None : command);
    d.index = i;
    d.hidden = true;
    items.push_back(d);
  }
}

constexpr std::array<const char *, 5> RecentCaptions = {"-", "RecentFile1", "RecentFile2", "RecentFile3",
                                                        "RecentFile4"};

// The check mark lives on the English Toolbar item alone.
ItemDef toolbarItem(const char *name, const char *caption) {
  ItemDef d = item(name, caption, Command::Toolbar);
  d.checkable = std::string_view(name) == "mnuOToolbar";
  return d;
}

Trees buildFrameTrees() {
  using C = Command;
  Trees t;

  std::vector<ItemDef> enFile = {item("mnuFNew", "&New", C::New, "Ctrl+N"),
                                 item("mnuFOpen", "&Open", C::Open, "Ctrl+O"),
                                 item("mnuFExit", "E&xit", C::Exit, "Ctrl+E"), separator("mnuSeparator")};
  appendRecentEntries(enFile, "mnuRecentFile", C::RecentFile, RecentCaptions);
  t[English] = {English,
                {{"mnuFile", "&File", enFile},
                 {"mnuOptions", "&Options",
                  {toolbarItem("mnuOToolbar", "&Toolbar"),
                   languages("mnuLanguages", "&Languages", "mnuLanguagesItem",
                             {"English", "&French", "&Spanish", "&German", "&Italian"}, English)}}}};

  t[French] = {French,
               {{"mnuFichier", "&Fichier",
                 {item("mnuNouveau", "&Nouveau", C::New), item("mnuOuvrir", "&Ouvrir..", C::Open),
                  item("mnuQuitter", "&Quitter", C::Exit)}},
                {"mnuOption", "&Options",
                 {toolbarItem("mnuBarre", "&Barre d'outils"),
                  languages("mnuLangues", "&Langues", "mnuLanguesItem",
                            {"&Anglais", "Francais", "&Espagnol", "A&llemand", "&Italien"}, French)}}}};

  t[Spanish] = {Spanish,
                {{"mnuSPArchivo", "&Archivo",
                  {item("mnuSPANuevo", "&Nuevo", C::New), item("mnuSPAAbrir", "&Abrir..", C::Open),
                   item("mnuSPASalir", "&Salir", C::Exit)}},
                 {"mnuSPOpciones", "&Opciones",
                  {toolbarItem("mnuSPOBarra", "&Barra de herramientas"),
                   languages("mnuSPOIdioma", "&Idioma", "mnuSPOIdiomaItem",
                             {"&Ingles", "&Frances", "Espanol", "&Alemán", "Italiano"}, Spanish)}}}};

  t[German] = {German,
               {{"mnuGDatei", "&Datei",
                 {item("mnuGDNeu", "&Neu", C::New), item("mnuGDOffnen", "Ö&ffnen", C::Open),
                  item("mnuGDBeenden", "&Beenden", C::Exit)}},
                {"mnuGOptionen", "&Optionen",
                 {toolbarItem("mnuGOSymbol", "&Symbolleiste"),
                  languages("mnuGOSprache", "S&prache", "mnuGOSpracheItem",
                            {"&Englisch", "&Französisch", "&Spanisch", "&Deutsch", "&Italianisch"}, German)}}}};

  t[Italian] = {Italian,
                {{"mnuIFile", "&File",
                  {item("mnuIFNuovo", "&Nuovo", C::New), item("mnuIFApri", "&Apri...", C::Open),
                   item("mnuIFEsci", "&Esci", C::Exit)}},
                 {"mnuIFOpzioni", "&Opzioni",
                  {toolbarItem("mnuIOBarra", "&Barra degli strumenti"),
                   languages("mnuIOLingua", "&Lingua", "mnuIOLinguaItem",
                             {"&Inglese", "&Francese", "&Spagnolo", "&Tedesco", "Italiano"}, Italian)}}}};
  return t;
}

// The names of one document tree, in the order of its items.
struct DocNames {
  const char *file, *fileCap, *nw, *nwCap, *open, *openCap, *close, *closeCap, *save, *saveCap, *saveAs,
      *saveAsCap, *sep0, *print, *printCap, *sep1, *send, *sendCap, *sep2, *exit, *exitCap;
  const char *edit, *editCap, *cut, *cutCap, *copy, *copyCap, *paste, *pasteCap, *del, *delCap, *esep,
      *selAll, *selAllCap, *time, *timeCap;
  const char *search, *searchCap, *find, *findCap, *next, *nextCap;
  const char *options, *optionsCap, *langs, *langsCap, *langItem;
  std::array<const char *, LanguageCount> langCaps;
  const char *toolbar, *toolbarCap, *font, *fontCap, *fontItem, *size, *sizeCap, *sizeItem;
  const char *window, *windowCap, *cascade, *cascadeCap, *tile, *tileCap, *arrange, *arrangeCap;
  bool tileFirst;
  const char *help, *helpCap, *about, *aboutCap;
};

TreeDef documentTree(int language, const DocNames &n, const std::array<const char *, 11> &keys) {
  using C = Command;
  // keys: New, Open, Save, Print, Exit, Cut, Copy, Paste, Delete, Select All, Find Next
  std::vector<ItemDef> file = {item(n.nw, n.nwCap, C::New, keys[0]),
                               item(n.open, n.openCap, C::Open, keys[1]),
                               item(n.close, n.closeCap, C::Close),
                               item(n.save, n.saveCap, C::Save, keys[2]),
                               item(n.saveAs, n.saveAsCap, C::SaveAs),
                               separator(n.sep0),
                               item(n.print, n.printCap, C::Print, keys[3]),
                               separator(n.sep1),
                               item(n.send, n.sendCap, C::SendMail),
                               separator(n.sep2),
                               item(n.exit, n.exitCap, C::Exit, keys[4])};
  if (language == English)
    appendRecentEntries(file, "mnuRecentFile", C::RecentFile, RecentCaptions);
  if (language == French)  // a second set that nothing ever shows or wires
    appendRecentEntries(file, "mnuRecent", C::None,
                        {"-", "RecentFile1", "RecentFile2", "RecentFille3", "RecentFile4"});

  std::vector<ItemDef> edit = {item(n.cut, n.cutCap, C::Cut, keys[5]),
                               item(n.copy, n.copyCap, C::Copy, keys[6]),
                               item(n.paste, n.pasteCap, C::Paste, keys[7]),
                               item(n.del, n.delCap, C::Delete, keys[8]),
                               separator(n.esep),
                               item(n.selAll, n.selAllCap, C::SelectAll, keys[9]),
                               item(n.time, n.timeCap, C::TimeDate)};

  std::vector<ItemDef> search = {item(n.find, n.findCap, C::Find), item(n.next, n.nextCap, C::FindNext, keys[10])};

  std::vector<ItemDef> options = {languages(n.langs, n.langsCap, n.langItem, n.langCaps, language),
                                  toolbarItem(n.toolbar, n.toolbarCap), fontNames(n.font, n.fontCap, n.fontItem),
                                  fontSizes(n.size, n.sizeCap, n.sizeItem)};

  ItemDef cascade = item(n.cascade, n.cascadeCap, C::Cascade);
  ItemDef tile = item(n.tile, n.tileCap, C::Tile);
  std::vector<ItemDef> window;
  if (n.tileFirst)
    window = {tile, cascade};
  else
    window = {cascade, tile};
  window.push_back(item(n.arrange, n.arrangeCap, C::ArrangeIcons));

  TreeDef tree{language,
               {{n.file, n.fileCap, file},
                {n.edit, n.editCap, edit},
                {n.search, n.searchCap, search},
                {n.options, n.optionsCap, options},
                {n.window, n.windowCap, window},
                {n.help, n.helpCap, {item(n.about, n.aboutCap, C::About)}}}};
  tree.menus[0].windowList = (language == English);
  return tree;
}

Trees buildDocumentTrees() {
  Trees t;
  t[English] = documentTree(
      English,
      {"mnuFile", "&File", "mnuFNew", "&New", "mnuFOpen", "&Open...", "mnuFClose", "&Close", "mnuFSave", "&Save",
       "mnuFSaveAs", "Save &As...", "mnuFSep0", "mnuFPrint", "&Print...", "mnuSep3", "mnuFSend", "S&end Mail...",
       "mnuFSep", "mnuFExit", "E&xit", "mnuEdit", "&Edit", "mnuECut", "Cu&t", "mnuECopy", "&Copy", "mnuEPaste",
       "&Paste", "mnuEDelete", "De&lete", "mnuESep1", "mnuESelectAll", "Select &All", "mnuETime", "Time/&Date",
       "mnuSearch", "&Search", "mnuSFind", "&Find", "mnuSFindNext", "Find &Next", "mnuOptions", "&Options",
       "mnuLanguages", "&Languages", "mnuLanguagesItem",
       {"&English", "&French", "&Spanish", "&German", "&Italian"}, "mnuOToolbar", "&Toolbar", "mnuFont", "&Font",
       "mnuFontName", "mnuFontSize", "Font &Size", "mnuFontSizeItem", "mnuWindow", "&Window", "mnuWCascade",
       "&Cascade", "mnuWTile", "&Tile", "mnuWArrange", "&Arrange Icons", false, "mnuHelp", "&Help", "mnuAbout",
       "&About QLRA"},
      {"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+P", "Ctrl+E", "Ctrl+X", "Ctrl+C", "Ctrl+V", "Del", "Ctrl+A", "F3"});
  t[French] = documentTree(
      French,
      {"mnuFichier", "&Fichier", "mnuNouveau", "&Nouveau", "mnuOuvrir", "&Ouvrir..", "mnuFermer", "Fe&rmer",
       "mnuSauver", "&Sauver", "mnuSauverSous", "Sa&uver Sous..", "mnuSep0", "mnuImprimer", "&Imprimer...",
       "mnuSep2", "mnuEnvoyer", "&Envoyer courrier...", "mnuSep", "mnuQuitter", "&Quitter", "mnuEditer",
       "&Editer", "mnuCouper", "&Couper", "mnuCopier", "Co&pier", "mnuColler", "Co&ller", "mnEffacer",
       "&Effacer", "mnuSep1", "mnuTout", "&Tout Sélectionner", "mnuHeure", "Heure/Date", "mnuChercher",
       "&Chercher", "mnuTrouver", "&Trouver", "mnuPlus", "Trouver &Plus", "mnuOptionnel", "&Options",
       "mnuLangues", "&Langues", "mnuLanguesItem", {"&Anglais", "Français", "&Espagnol", "Allemand", "&Italien"},
       "mnuBarre", "&Barre d'outils", "mnuPolice", "&Polices", "mnuPoliceNom", "mnuTaille", "&Taille de police",
       "mnuTailleItem", "mnuFenetre", "Fenê&tre", "mnuCascade", "&Cascade", "mnuMosaique", "&Mosaïque",
       "mnuArranger", "&Arranger icônes", false, "mnuInfo", "&?", "mnuApropos", "&A propos de QLRA"},
      {nullptr, nullptr, nullptr, nullptr, nullptr, "Ctrl+U", "Ctrl+I", "Ctrl+L", "Alt+Backspace", "Shift+F1",
       nullptr});
  t[Spanish] = documentTree(
      Spanish,
      {"mnuSPArchivo", "&Archivo", "mnuSPANuevo", "&Nuevo", "mnuSPAAbrir", "&Abrir..", "mnuSPACerrar",
       "&Cerrar", "mnuSPAGuardar", "&Guardar", "mnuSPAGuacomo", "G&uardar como..", "mnuSPsep0", "mnuSPAPrintar",
       "&Imprimir...", "mnuSSep2", "mnuSAEnviar", "&Enviar correo...", "mnuSPsep", "mnuSPASalir", "&Salir",
       "mnuSPEdition", "&Edición", "mnuSPECortar", "&Cortar", "mnuSPECopiar", "Co&piar", "mnuSPEPegar", "&Pegar",
       "mnuSPEEliminar", "&Eliminar", "mnuSPEsep1", "mnuSPESelec", "&Seleccionar todo", "mnuSPEHora",
       "Hora/Fecha", "mnuSPBuscar", "&Buscar", "mnuSPBBuscar2", "&Buscar", "mnuSPBSiguiente",
       "Buscar &siguiente", "mnuSPOpciones", "&Opciones", "mnuSPIdioma", "&Idioma", "mnuSPIdiomaItem",
       {"&Ingles", "&Frances", "&Español", "&Alemán", "I&taliano"}, "mnuSPOBarra", "&Barra de herramientas",
       "mnuSPOFuentes", "&Fuentes", "mnuSPOFuentesItem", "mnuSTamano", "&Tamaño de fuente", "mnuSTamanoItem",
       "mnuSPVentana", "&Ventana", "mnuSPVCascada", "&Cascada", "mnuSPVMosaico", "&Mosaico", "mnuSPVOrgan",
       "&Organizar iconos", true, "mnuSAyuda", "&Ay&uda", "mnuSInfo", "&Acerca de QLRA"},
      {});
  t[German] = documentTree(
      German,
      {"mnuGDatei", "&Datei", "mnuGDNeu", "&Neu", "mnuGDOffnen", "Ö&ffnen", "mnuGDSchle", "Schließen",
       "mnuGDSpeichern", "S&peichern", "mnuGDSpeichernUnter", "Speichern &unter", "mnuGsep0", "mnuGDPrintein",
       "&Drucken...", "mnuGSep3", "mnuGDEmail", "&E-Mail senden...", "mnuGsep1", "mnuGDBeenden", "&Beenden",
       "mnuGBearbeiten", "&Bearbeiten", "mnuGBAussch", "&Ausschneiden", "mnuGBKopieren", "&Kopieren",
       "mnuGBEinfugen", "&Einfügen", "mnuGBLoschen", "&Löschen", "mnuGSep2", "mnuGBMarkieren",
       "Alles &markieren", "mnuGBDatum", "&Datum/Uhrzeit", "mnuGSuchen", "&Suchen", "mnuGSSuchen2", "&Suchen",
       "mnuGSWeitersuchen", "&Weitersuchen", "mnuGOptionen", "&Optionen", "mnuGOSprache", "&Sprache",
       "mnuGOSpracheItem", {"&Englisch", "&Französisch", "&Spanisch", "&Deutsch", "&Italianisch"},
       "mnuGOSymbolleiste", "S&ymbolleiste", "mnuGOSchriftart", "S&chriftart", "mnuGOSchriftartItem",
       "mnuGTaillePolice", "Schrift&grad", "mnuGTaillePoliceItem", "mnuGFenster", "&Fenster",
       "mnuGFUberlappend", "&Überlappend", "mnuGFNeben", "&Nebeneinander", "mnuGFSymbole", "&Symbole anordnen",
       true, "mnuGInfo", "&Info..", "mnuGQLRA", "&Info über QLRA"},
      {});
  t[Italian] = documentTree(
      Italian,
      {"mnuIFile", "&File", "mnuIFNuovo", "&Nuovo", "mnuIFApri", "&Apri...", "mnuIFChiudi", "&Chiudi",
       "mnuIFSalva", "&Salva", "mnuIFSalvaCon", "Salva con &nome...", "mnuISep", "mnuIFStanpa", "Stam&pa...",
       "mnuIsep2", "mnuIFEnvia", "&Invia messaggio...", "mnuIFsep2", "mnuIFEsci", "&Esci", "mnuIModifica",
       "&Modifica", "mnuIMTaglia", "&Taglia", "mnuIMCopia", "&Copia", "mnuIMIncolla", "&Incolla",
       "mnuIMElimina", "&Elimina", "mnuIsep1", "mnuIMSelezionare", "&Seleziona tutto", "mnuIMTempo", "Tem&po",
       "mnuICerca", "&Cerca", "mnuICTrova", "&Trova...", "mnuICTrova2", "Trova &successivo", "mnuIOpzioni",
       "&Opzioni", "mnuIOLangua", "&Lingua", "mnuIOLanguaItem",
       {"&Inglese", "&Francese", "&Spagnolo", "&Tedesco", "Italiano"}, "mnuIOBarra", "&Barra degli strumenti",
       "mnuIOTipo", "&Tipo", "mnuIOTipo2", "mnuIDimensione", "&Dimensione", "mnuIDimensioneItem",
       "mnuIFinestra", "Fi&nestra", "mnuIFISovra", "&Sovrapponi", "mnuIFIAffianca", "&Affianca",
       "mnuIFIDisporre", "&Disporre icone", false, "mnuIGuida", "&?", "mnuIInformazioni",
       "&Informazioni su QLRA"},
      {});
  return t;
}

}  // namespace

const Trees &FrameTrees() {
  static const Trees trees = buildFrameTrees();
  return trees;
}

const Trees &DocumentTrees() {
  static const Trees trees = buildDocumentTrees();
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

QString MailErrorTitle(int language) {
  return QString::fromUtf8(language == French ? "Erreur d'envoi" : "Mail Send Error");
}

}  // namespace quillora
