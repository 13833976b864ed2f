// SPDX-License-Identifier: GPL-3.0-or-later
// The save path against what stands in its way: full disks, read-only and
// immutable files, process limits, links, access lists, another program's
// change, a kill at any step, and folders shared with other users. Each row
// checks the bytes on disk and what the user is told.

#include "TestSupport.h"
#include "app/Toolbar.h"
#include "documents/DocumentWindow.h"
#include "documents/FileCommands.h"
#include "documents/FileDialog.h"
#include "documents/RescueFolder.h"
#include "documents/TextCodec.h"
#include "documents/TextFile.h"
#include "editing/EditControl.h"
#include "settings/RecentFiles.h"
#include "settings/SettingsStore.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStringEncoder>
#include <QTest>

#include "common/ProcessSignals.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

using namespace quillora;
using namespace quillora::test;

namespace {

// What stands in a save's way.
enum class Trap { None, FullDisk, ReadOnly, ImmutableFile, ImmutableFolder };

void setImmutable(const QString &path, bool on) {
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
  int flags = 0;
  if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  if (fd >= 0) close(fd);
}

// Sets the trap around an old file of 21,000 bytes at `path`; the small file
// system is 64 KiB mounted at `mountPoint`. Everything is undone at the end.
class ScratchTrap {
 public:
  ScratchTrap(const QString &mountPoint, const QString &path, Trap trap)
      : m_mountPoint(mountPoint), m_path(path), m_trap(trap) {
    if (trap == Trap::FullDisk || trap == Trap::ReadOnly) {
      QDir().mkpath(mountPoint);
      QCOMPARE(mount("quillora-test", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k"), 0);
      m_mounted = true;
    }
    if (trap != Trap::None) WriteFile(path, QByteArray(21000, 'o'));
    switch (trap) {
      case Trap::FullDisk: WriteFile(mountPoint + "/filler", QByteArray(38000, 'f')); break;  // 4 KiB stay free
      case Trap::ReadOnly:
        QCOMPARE(mount(nullptr, QFile::encodeName(mountPoint).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
                 0);
        break;
      case Trap::ImmutableFile: setImmutable(path, true); break;
      case Trap::ImmutableFolder: setImmutable(QFileInfo(path).absolutePath(), true); break;
      case Trap::None: break;
    }
  }
  ~ScratchTrap() {
    if (m_trap == Trap::ImmutableFile) setImmutable(m_path, false);
    if (m_trap == Trap::ImmutableFolder) setImmutable(QFileInfo(m_path).absolutePath(), false);
    if (m_mounted) umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
  }
  ScratchTrap(const ScratchTrap &) = delete;
  ScratchTrap &operator=(const ScratchTrap &) = delete;

 private:
  QString m_mountPoint, m_path;
  Trap m_trap;
  bool m_mounted = false;
};

// ---- A machine shared with another user ----

constexpr uid_t Other = 4242;    // another user, whose own group has the same number
constexpr gid_t Project = 4343;  // a group the other user may share with a file

// Runs `act` in a child process as the user, with those groups (the first
// the primary one); its result, from -128 to 127, comes back as the exit status.
template <typename Act>
int AsUser(uid_t uid, const std::vector<gid_t> &groups, Act act) {
  FinishRecentFilesUpdates();  // no thread of the program's runs across the fork
  const pid_t child = fork();
  if (child == 0) {
    if (setgroups(groups.size(), groups.data()) != 0 || setgid(groups.front()) != 0 || setuid(uid) != 0) _exit(100);
    _exit(int(act()) & 0xff);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? int(static_cast<signed char>(WEXITSTATUS(status))) : 101;
}

// The kernel's protections for links and files in shared folders, on as a
// Debian desktop has them while the test runs, put back afterwards.
class KernelProtections {
 public:
  KernelProtections() {
    for (const char *name : {"protected_symlinks", "protected_regular"}) {
      const QString path = QStringLiteral("/proc/sys/fs/") + name;
      const QByteArray before = ReadFile(path);
      QFile file(path);
      const bool set = file.open(QIODevice::WriteOnly) && file.write("1\n") == 2;
      if (set) m_before.append({path, before});
      m_on = set && m_on;  // a build root may see them read-only
    }
  }
  ~KernelProtections() {
    for (const auto &[path, value] : m_before) {
      QFile file(path);
      if (file.open(QIODevice::WriteOnly)) file.write(value);
    }
  }
  bool on() const { return m_on; }

 private:
  QList<QPair<QString, QByteArray>> m_before;
  bool m_on = true;
};

// A file's extended attributes, its access list among them, as getfattr
// shows them: "name=hex,…", or "-".
QString Attributes(const QString &path) {
  const QByteArray file = QFile::encodeName(path);
  QByteArray names(4096, 0);
  const ssize_t length = llistxattr(file.constData(), names.data(), size_t(names.size()));
  QStringList shown;
  for (const QByteArray &name : names.left(qMax<ssize_t>(0, length)).split('\0')) {
    if (name.isEmpty()) continue;
    QByteArray value(4096, 0);
    value.truncate(qMax<ssize_t>(0, lgetxattr(file.constData(), name.constData(), value.data(), size_t(value.size()))));
    shown.append(QString::fromLatin1(name + '=' + value.toHex()));
  }
  shown.sort();
  return shown.isEmpty() ? QStringLiteral("-") : shown.join(u',');
}

// Every file, link and folder under a folder, as `ls -li`, getfattr and
// `cat` would show them, links not followed.
QMap<QString, QString> Snapshot(const QString &dir) {
  QMap<QString, QString> entries;
  QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    struct stat s {};
    lstat(QFile::encodeName(path).constData(), &s);
    if (path.endsWith(".img")) continue;  // the disk image of a file system a row mounts
    const QByteArray what = S_ISREG(s.st_mode) && s.st_size > (1 << 20)
                                ? "size " + QByteArray::number(qint64(s.st_size))
                            : S_ISREG(s.st_mode) ? ReadFile(path)
                            : S_ISLNK(s.st_mode) ? "-> " + QFile::encodeName(QFile::symLinkTarget(path))
                                                 : QByteArray();
    entries[path] = QStringLiteral("%1 %2 %3:%4 %5 %6")
                        .arg(s.st_ino)
                        .arg(s.st_mode, 0, 8)
                        .arg(s.st_uid)
                        .arg(s.st_gid)
                        .arg(Attributes(path))
                        .arg(QString::fromLocal8Bit(what));
  }
  return entries;
}

QStringList Listed(const QMap<QString, QString> &entries) {
  QStringList lines;
  for (auto it = entries.cbegin(); it != entries.cend(); ++it) lines.append(it.key() + ": " + it.value());
  return lines;
}

// Creates a file with its owner, group and permissions.
void Plant(const QString &path, const QByteArray &bytes, uid_t owner, gid_t group, mode_t mode) {
  WriteFile(path, bytes);
  const QByteArray name = QFile::encodeName(path);
  if (chown(name.constData(), owner, group) != 0 || chmod(name.constData(), mode) != 0)
    qFatal("cannot plant %s", name.constData());
}

int PlantLink(const QString &target, const QString &link, uid_t owner = 0) {
  return AsUser(owner, {owner},
                [&] { return symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()); });
}

// What befalls the save beyond what the row plants.
enum class Fault { None, SizeLimit, Kill };

struct SharedMachineRow {
  const char *name;
  QString (*plant)(const QString &dir);  // plants what the row needs; returns the path saved
  int expected;
  uid_t saver = 0;  // root, or the other user with `groups`
  std::vector<gid_t> groups = {};
  bool inPlace = false;
  const char *steps = nullptr;  // the new file when made and before its text: step:mode:group:others-read
  bool noBackup = false;        // refused because the old text could not be backed up
  int length = 0;               // of the new text, when not "new text"
  Fault fault = Fault::None;    // a file-size limit of 16 KiB, or a kill at `killAt`
  SaveStep killAt = SaveStep::BackupMade;
  int saves = 1;
  // Names that may appear beside the saved file and what they hold ("+doc.txt~=" for
  // an empty file), or that go ("-name"); ';' between.
  const char *changes = "";
  bool recentFiles = false;  // the recent-files list is saved, with the store in the returned folder
  void (*check)(const QString &dir, const QString &target) = nullptr;
};

// A text in UTF-16 behind its byte-order mark.

// The texts the rescue folder holds that the user was not told of yet;
// from now on they count as told.
QList<QByteArray> RescuedTexts() {
  std::optional<RescueFolder> rescue = RescueFolder::existing();
  if (!rescue) return {};
  QDir folder(rescue->path());
  QList<QByteArray> texts;
  const QStringList copies = folder.entryList({"*.txt"}, QDir::Files, QDir::Time | QDir::Reversed);
  const int untold = rescue->takeUntold();
  for (const QString &name : copies.mid(copies.size() - untold)) texts.append(ReadFile(folder.filePath(name)));
  return texts;
}

// Runs a shell command of the test's set-up; false when it failed.
bool Shell(const QString &command) { return QProcess::execute(QStringLiteral("sh"), {"-c", command}) == 0; }

// False where the file system keeps no such flags.
bool SetFolderFlag(const QString &path, int flag, bool on) {
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  bool set = false;
  if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
    flags = on ? (flags | flag) : (flags & ~flag);
    set = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  if (fd >= 0) close(fd);
  return set;
}

// A nearly full btrfs of 128 MiB at d/btrfs holding doc.txt (21,600 bytes)
// under two names, with 8 KiB free; an empty path when none can be made.
QString NearlyFullBtrfs(const QString &d) {
  const QString image = d + "/btrfs.img", at = d + "/btrfs";
  QDir().mkpath(at);
  if (!Shell(QStringLiteral("truncate -s 128M %1 && mkfs.btrfs -q -f %1 >/dev/null 2>&1 && mount -o loop %1 %2")
                 .arg(image, at)))
    return {};
  WriteFile(at + "/doc.txt", QByteArray(21600, 'o'));
  Shell(QStringLiteral("ln %1/doc.txt %1/other.txt; dd if=/dev/zero of=%1/filler bs=4096 2>/dev/null; sync; "
                       "for i in 1 2; do truncate -s -4096 %1/filler; done; btrfs filesystem sync %1 >/dev/null")
            .arg(at));
  return at + "/doc.txt";
}

QString HardLinked(const QString &d) {
  WriteFile(d + "/doc.txt", QByteArray(21600, 'o'));
  if (link(QFile::encodeName(d + "/doc.txt").constData(), QFile::encodeName(d + "/two.txt").constData()) != 0)
    qFatal("cannot link");
  return d + "/doc.txt";
}

// The saved file's mode is what the shell's `>` gives a new name there.
void ModeAsTheShellGives(const QString &dir, const QString &target) {
  QVERIFY(Shell(QStringLiteral(": >%1/shell.txt").arg(QFileInfo(target).absolutePath())));
  QCOMPARE(Snapshot(dir).value(target).section(u' ', 1, 3),
           Snapshot(dir).value(QFileInfo(target).absolutePath() + "/shell.txt").section(u' ', 1, 3));
  QFile::remove(QFileInfo(target).absolutePath() + "/shell.txt");
}

// clang-format off
const SharedMachineRow SharedMachineRows[] = {
    {"a planted link to nothing", [](const QString &d) {
       PlantLink(d + "/private/planted.txt", d + "/shared/report.txt", Other); return d + "/shared/report.txt"; }, EACCES},
    {"a planted link to root's file", [](const QString &d) {
       PlantLink(d + "/private/root.txt", d + "/shared/report.txt", Other); return d + "/shared/report.txt"; }, EACCES},
    {"another user's file in a shared folder", [](const QString &d) {
       Plant(d + "/shared/pre.txt", "theirs", Other, Other, 0666); return d + "/shared/pre.txt"; }, OtherUsersFile},
    {"a private file is private from the start", [](const QString &d) {
       Plant(d + "/secret.txt", "secret", 0, Project, 0640); return d + "/secret.txt"; },
     0, 0, {}, false, "0:600:0:0 1:640:4343:0 "},
    {"a member keeps the file's group", [](const QString &d) {
       Plant(d + "/other/team.txt", "team", Other, Project, 0640); return d + "/other/team.txt"; },
     0, Other, {Other, Project}},
    {"a group the user is not in: written in place", [](const QString &d) {
       Plant(d + "/other/team.txt", "team", Other, Project, 0664); return d + "/other/team.txt"; },
     0, Other, {Other}, true},
    {"a file with two names: written in place", [](const QString &d) {
       WriteFile(d + "/one.txt", "shared");
       if (link(QFile::encodeName(d + "/one.txt").constData(), QFile::encodeName(d + "/two.txt").constData()) != 0)
         qFatal("cannot link");
       return d + "/one.txt"; }, 0, 0, {}, true},
    {"a link to a device", [](const QString &d) {
       mknod(QFile::encodeName(d + "/null").constData(), S_IFCHR | 0666, makedev(1, 3));
       PlantLink(d + "/null", d + "/device.txt"); return d + "/device.txt"; }, NotARegularFile},
    {"a link to a pipe, in a folder the user may not write", [](const QString &d) {
       mkfifo(QFile::encodeName(d + "/pipe").constData(), 0666);
       chmod(QFile::encodeName(d + "/pipe").constData(), 0666);
       PlantLink(d + "/pipe", d + "/pipe.txt"); return d + "/pipe.txt"; }, NotARegularFile, Other, {Other}},
    {"a link loop", [](const QString &d) {
       PlantLink(d + "/b.txt", d + "/a.txt"); PlantLink(d + "/a.txt", d + "/b.txt"); return d + "/a.txt"; }, ELOOP},
    {"a chain of links to nothing", [](const QString &d) {
       PlantLink(d + "/two.txt", d + "/one.txt"); PlantLink(d + "/none.txt", d + "/two.txt"); return d + "/one.txt"; },
     DanglingLink},
    {"a name of 250 bytes", [](const QString &d) { return d + '/' + QString(246, u'n') + ".txt"; }, 0},
    {"a folder that takes no files", [](const QString &) { return QStringLiteral("/proc/quillora.txt"); },
     FolderTakesNoFiles},
    // Written in place: the old text is backed up first, and whole on disk
    // at every step, in the file or in the backup.
    {.name = "a nearly full btrfs: the old text stays whole", .plant = NearlyFullBtrfs, .expected = ENOSPC,
     .inPlace = true, .length = 21600},
    {.name = "a size limit below the file: nothing is written", .plant = HardLinked, .expected = EFBIG,
     .length = 20000, .fault = Fault::SizeLimit},
    {.name = "killed with the backup made", .plant = HardLinked, .expected = 0, .length = 30000,
     .fault = Fault::Kill, .killAt = SaveStep::BackupMade, .changes = "+doc.txt~=old"},
    {.name = "killed with the new text written over the old", .plant = HardLinked, .expected = 0, .length = 8000,
     .fault = Fault::Kill, .killAt = SaveStep::WrittenInPlace, .changes = "+doc.txt~=old"},
    {.name = "killed with the file cut to length", .plant = HardLinked, .expected = 0, .length = 8000,
     .fault = Fault::Kill, .killAt = SaveStep::CutToLength, .changes = "+doc.txt~=old"},
    {.name = "killed with the new text on disk", .plant = HardLinked, .expected = 0, .length = 8000,
     .fault = Fault::Kill, .killAt = SaveStep::SyncedInPlace, .changes = "+doc.txt~=old"},
    {.name = "a folder the user may not write: the backup goes to the rescue folder", .plant = [](const QString &d) {
       Plant(d + "/one.txt", "shared", Other, Other, 0666);
       if (link(QFile::encodeName(d + "/one.txt").constData(), QFile::encodeName(d + "/two.txt").constData()) != 0)
         qFatal("cannot link");
       return d + "/one.txt"; }, .expected = 0, .saver = Other, .groups = {Other}, .inPlace = true},
    {.name = "every backup name taken: the backup goes to the rescue folder", .plant = [](const QString &d) {
       WriteFile(d + "/doc.txt~", "taken");
       for (int n = 1; n < 10; ++n) WriteFile(d + QStringLiteral("/doc.txt.~%1~").arg(n), "taken");
       return HardLinked(d); }, .expected = 0, .inPlace = true},
    {.name = "a name of the backup taken: the next one is used", .plant = [](const QString &d) {
       WriteFile(d + "/doc.txt~", "an older backup"); return HardLinked(d); }, .expected = 0, .inPlace = true},
    {.name = "a folder that keeps its files: one emptied backup", .plant = [](const QString &d) {
       const QString path = HardLinked(d); return SetFolderFlag(d, FS_APPEND_FL, true) ? path : QString(); },
     .expected = 0, .inPlace = true, .saves = 2, .changes = "+doc.txt~="},
    {.name = "a file mounted onto its name: written in place", .plant = [](const QString &d) {
       WriteFile(d + "/hosts", "127.0.0.1 localhost"); WriteFile(d + "/source", "10.0.0.1 box");
       return Shell(QStringLiteral("mount --bind %1/source %1/hosts").arg(d)) ? d + "/hosts" : QString(); },
     .expected = 0, .inPlace = true},
    // Through a new file, which keeps what the old one had.
    {.name = "an access list and a user attribute are kept", .plant = [](const QString &d) {
       Plant(d + "/acl.txt", "old", 0, 0, 0640);
       return Shell(QStringLiteral("setfacl -m u:nobody:rw %1 && setfattr -n user.origin -v mine %1").arg(d + "/acl.txt"))
                  ? d + "/acl.txt" : QString(); }, .expected = 0},
    {.name = "a new name takes the folder's default access list", .plant = [](const QString &d) {
       QDir(d).mkdir("team");
       return Shell(QStringLiteral("setfacl -d -m u::rw,g::rw,o::- %1/team").arg(d)) ? d + "/team/new.txt" : QString(); },
     .expected = 0, .check = ModeAsTheShellGives},
    {.name = "a new name takes the umask", .plant = [](const QString &d) { return d + "/plain-new.txt"; },
     .expected = 0, .check = ModeAsTheShellGives},
    {.name = "a user's file named like a temporary stays", .plant = [](const QString &d) {
       WriteFile(d + "/.quillora-config", "the user's own");
       const timespec long_ago[2] = {{1000000000, 0}, {1000000000, 0}};
       utimensat(AT_FDCWD, QFile::encodeName(d + "/.quillora-config").constData(), long_ago, 0);
       WriteFile(d + "/kept.txt", "old"); return d + "/kept.txt"; }, .expected = 0},
    {.name = "an old document named like a temporary is saved", .plant = [](const QString &d) {
       WriteFile(d + "/.quillora-draft1", "old");
       const timespec long_ago[2] = {{1000000000, 0}, {1000000000, 0}};
       utimensat(AT_FDCWD, QFile::encodeName(d + "/.quillora-draft1").constData(), long_ago, 0);
       return d + "/.quillora-draft1"; }, .expected = 0},
    {.name = "the leftover of a killed save goes to the rescue folder", .plant = [](const QString &d) {
       const QString left = d + "/.quillora-abc123";
       WriteFile(left, "the only copy");
       const pid_t gone = fork();
       if (gone == 0) _exit(0);
       waitpid(gone, nullptr, 0);
       const QByteArray mark = QByteArray::number(gone);
       setxattr(QFile::encodeName(left).constData(), "user.quillora.save", mark.constData(), size_t(mark.size()), 0);
       const timespec long_ago[2] = {{1000000000, 0}, {1000000000, 0}};
       utimensat(AT_FDCWD, QFile::encodeName(left).constData(), long_ago, 0);
       WriteFile(d + "/kept.txt", "old"); return d + "/kept.txt"; },
     .expected = 0, .changes = "-.quillora-abc123", .check = [](const QString &, const QString &) {
       QCOMPARE(RescuedTexts(), QList<QByteArray>{"the only copy"}); }},
    // The settings store: the recent files are saved, or quietly not, without a freeze.
    {.name = "a pipe as the settings store", .plant = [](const QString &d) {
       QDir(d).mkdir("config"); mkfifo(QFile::encodeName(d + "/config/VIZIvev.ini").constData(), 0600);
       return d + "/config"; }, .expected = 0, .recentFiles = true},
    {.name = "a folder as the settings store's lock", .plant = [](const QString &d) {
       QDir(d).mkpath("config/VIZIvev.ini.lock"); WriteFile(d + "/config/VIZIvev.ini", "[Recent%20Files]\n");
       return d + "/config"; }, .expected = 0, .recentFiles = true},
};
// clang-format on

}  // namespace

class SavePathTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void failedWritesSayWhyAndKeepTheOldFile_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("trap");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing folder") << "missing/x.txt" << int(Trap::None) << "The folder does not exist.";
    QTest::newRow("a folder") << "folder" << int(Trap::None) << "The name is that of a folder.";
    QTest::newRow("full disk") << "small/old.txt" << int(Trap::FullDisk) << "The disk (file system) is full.";
    QTest::newRow("read-only file system") << "small/old.txt" << int(Trap::ReadOnly) << "The file system is read-only.";
    const QString immutable =
        QStringLiteral("The operation is not permitted: the file or its folder is immutable or append-only.");
    QTest::newRow("immutable file") << "old.txt" << int(Trap::ImmutableFile) << immutable;
    QTest::newRow("immutable folder") << "folder/old.txt" << int(Trap::ImmutableFolder) << immutable;
  }
  void failedWritesSayWhyAndKeepTheOldFile() {
    QFETCH(QString, target);
    QFETCH(int, trap);
    QFETCH(QString, cause);
    if (trap != int(Trap::None) && geteuid() != 0) QSKIP("mounting and immutable files need root");
    Fixture f;
    QDir(f.dir()).mkdir("folder");
    const QString path = f.path(target);
    ScratchTrap scratch(f.path("small"), path, Trap(trap));
    const QByteArray before = ReadFile(path);
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setPlainText(QString(25000, u'n'));
    QTest::keyClicks(doc->Text1(), "abc");
    f.prompts().files = {path};
    Trigger(doc, "mnuFSaveAs");
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, "Can't save file: " + path + '\n' + cause);
    QCOMPARE(f.prompts().messages.at(0).code, msg::Exclamation);
    QCOMPARE(doc->caption(), QStringLiteral("Untitled"));
    QVERIFY(doc->changed());
    QCOMPARE(ReadFile(path), before);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList({".*"}, QDir::Files | QDir::Hidden), QStringList{});
  }

  // Limits that apply to a process: checked in a child of its own, which the
  // failed write must neither kill nor leave with a half-written file.
  void failedWritesUnderProcessLimits_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("expected");
    QTest::newRow("file size limit") << 0 << EFBIG;
    QTest::newRow("permission denied") << 1 << EACCES;
  }
  void failedWritesUnderProcessLimits() {
    QFETCH(int, limit);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    const QByteArray old(3000, 'o');
    WriteFile(path, old);
    if (limit == 1) {  // neither the file nor its folder may be written
      QCOMPARE(chmod(QFile::encodeName(path).constData(), 0444), 0);
      QCOMPARE(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    }
    const pid_t child = fork();
    if (child == 0) {
      IgnoreFatalIoSignals();  // as the program does at start-up
      rlimit size{1024, 1024};
      if (limit == 0) setrlimit(RLIMIT_FSIZE, &size);
      if (limit == 1 && geteuid() == 0 && setuid(65534) != 0) _exit(100);
      _exit(WriteWholeFile(path, QByteArray(5000, 'n')).error);
    }
    int status = 0;
    waitpid(child, &status, 0);
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), expected);
    QVERIFY(FileErrorCause(expected, FileAccess::Writing).contains(limit == 0 ? "size limit" : "Permission denied"));
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"big.txt"});
  }

  void savingKeepsLinksAndPermissions() {
    QTemporaryDir dir;
    const QString target = dir.filePath("target.txt"), link = dir.filePath("link.txt");
    WriteFile(target, "old");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, link));
    const QFile::Permissions before = QFile::permissions(target);
    QCOMPARE(WriteWholeFile(link, "new").error, 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadFile(target), QByteArray("new"));
    QCOMPARE(QFile::permissions(target), before);
  }

  // Another program changes an open file: in place keeping its size and
  // time, by renaming a new file over it, or by putting a link, a folder or
  // nothing in its place. An unedited document shows the new text or, with
  // no file to show, counts as changed; an edited one is asked about once.
  // Save asks before writing over any change (No keeps both texts), and Yes
  // never writes through a link that now leads elsewhere.
  void anotherProgramsChangeIsNeverOverwrittenUnseen_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("edited");
    for (const char *how : {"in place", "by rename", "link", "folder", "deleted"}) {
      QTest::addRow("%s, unedited", how) << how << false;
      QTest::addRow("%s, edited", how) << how << true;
    }
  }
  void anotherProgramsChangeIsNeverOverwrittenUnseen() {
    QFETCH(QString, how);
    QFETCH(bool, edited);
    Fixture f;
    const QString path = f.path("shared.txt"), other = f.path("other.txt");
    WriteFile(path, "old text");
    WriteFile(other, "someone else's");
    DocumentWindow *doc = OpenThroughMenu(f, path);
    if (edited) {
      doc->Text1()->setSelStart(8);
      doc->Text1()->setSelText(" mine");
    }
    const QString mine = doc->Text1()->text();
    struct stat before {};
    QCOMPARE(stat(QFile::encodeName(path).constData(), &before), 0);
    if (how == "in place") {
      // Same size, and the time set back: only the bytes tell.
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadWrite));
      file.write("new text");
      file.close();
      const timespec times[2] = {before.st_atim, before.st_mtim};
      QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    } else if (how == "by rename") {
      WriteFile(path + ".new", "new text");
      QCOMPARE(rename(QFile::encodeName(path + ".new").constData(), QFile::encodeName(path).constData()), 0);
    } else {
      QVERIFY(QFile::remove(path));
      if (how == "link") QVERIFY(QFile::link(other, path));
      if (how == "folder") QVERIFY(QDir().mkdir(path));
    }
    const bool rewritten = how == "in place" || how == "by rename";
    const QString told = QStringLiteral("The file [%1] was changed by another program.").arg(path);
    // The watch notices it, without a window changing.
    if (rewritten && !edited) {
      QTRY_COMPARE(doc->Text1()->text(), QStringLiteral("new text"));
    } else if (rewritten) {
      QTRY_COMPARE(f.prompts().messages.size(), 1);
      QVERIFY(f.prompts().messages.at(0).text.startsWith(told));
      QCOMPARE(f.prompts().messages.at(0).code, msg::YesNo + msg::Exclamation + msg::DefaultButton2);
    } else {
      QTRY_VERIFY(doc->changed());
    }
    QTest::qWait(300);
    // Each change is told once, and No keeps the window as it was.
    QCOMPARE(f.prompts().messages.size(), rewritten && edited ? 1 : 0);
    QCOMPARE(doc->Text1()->text(), rewritten && !edited ? QStringLiteral("new text") : mine);
    QCOMPARE(doc->changed(), !(rewritten && !edited));
    f.prompts().messages.clear();

    // Save: asked over any change, not over a file that is gone; No writes nothing.
    const QByteArray onDisk = how == "folder" || how == "deleted" ? QByteArray() : ReadFile(path);
    Trigger(doc, "mnuFSave");
    const QString asked =
        QStringLiteral("The file [%1] was changed by another program since it was read. Save over it?").arg(path);
    if (how == "deleted" || (rewritten && !edited)) {
      QVERIFY(f.prompts().messages.isEmpty());
      QCOMPARE(ReadFile(path), doc->Text1()->text().toUtf8() + "\r\n");
      QVERIFY(!doc->changed());
      return;
    }
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, asked);
    QCOMPARE(f.prompts().messages.at(0).code, msg::YesNo + msg::Exclamation + msg::DefaultButton2);
    QCOMPARE(ReadFile(path), onDisk);
    QCOMPARE(ReadFile(other), QByteArray("someone else's"));
    QCOMPARE(doc->Text1()->text(), mine);
    QVERIFY(doc->changed());
    if (how == "folder") return;
    // Yes: the window's text, and a link is replaced by the file, not written through.
    f.prompts().answers = {msg::Yes};
    Trigger(doc, "mnuFSave");
    QCOMPARE(ReadFile(path), mine.toUtf8() + "\r\n");
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(ReadFile(other), QByteArray("someone else's"));
    QVERIFY(!doc->changed());
  }

  // A write that lands while the save is under way, after the text was
  // checked, is seen at the last look before the old file is replaced.
  void aChangeDuringTheSaveIsSeen() {
    Fixture f;
    const QString path = f.path("busy.txt");
    WriteFile(path, "first");
    DocumentWindow *doc = OpenThroughMenu(f, path);
    QTest::keyClicks(doc->Text1(), "mine ");
    SetSaveObserver([&](SaveStep step, int) {
      if (step == SaveStep::TextWritten) WriteFile(path, "other");
    });
    Trigger(doc, "mnuFSave");
    SetSaveObserver(nullptr);
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(ReadFile(path), QByteArray("other"));
    QCOMPARE(QDir(f.dir()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left
    QVERIFY(doc->changed());
  }

  // A save killed once its text is on disk under a temporary name leaves
  // that text marked as this program's; a later save in the folder moves it
  // to the rescue folder once its process is gone and a minute has passed.
  void aKilledSavesTextEndsInTheRescueFolder() {
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.txt");
    WriteFile(path, "old");
    const pid_t child = fork();
    if (child == 0) {
      SetSaveObserver([](SaveStep step, int) {
        if (step == SaveStep::Named) raise(SIGKILL);
      });
      WriteWholeFile(path, "new text");
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(ReadFile(path), QByteArray("old"));
    const QStringList left = QDir(dir.path()).entryList({".quillora-*"}, QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), 1);
    const QString leftover = dir.filePath(left.at(0));
    QCOMPARE(ReadFile(leftover), QByteArray("new text"));
    // Younger than a minute, it may be another program's save under way.
    QCOMPARE(WriteWholeFile(path, "second").error, 0);
    QVERIFY(QFile::exists(leftover));
    const timespec longAgo[2] = {{1000000000, 0}, {1000000000, 0}};
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(leftover).constData(), longAgo, 0), 0);
    QCOMPARE(WriteWholeFile(path, "third").error, 0);
    QVERIFY(!QFile::exists(leftover));
    QCOMPARE(RescuedTexts(), QList<QByteArray>{"new text"});
    QCOMPARE(ReadFile(path), QByteArray("third"));
  }

  // Texts kept where no question could be asked: each a new private file in
  // a private folder of the user's, found by the XDG rules without following
  // a link, and told of once, at the next start.
  void rescuedTextsAreKeptApartAndToldOnce() {
    QTemporaryDir home;
    const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_STATE_HOME"), qgetenv("XDG_RUNTIME_DIR")};
    const auto restore = qScopeGuard([&] {
      qputenv("HOME", saved[0]);
      qputenv("XDG_STATE_HOME", saved[1]);
      qputenv("XDG_RUNTIME_DIR", saved[2]);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + "/run"));
    QVERIFY(QDir(home.path()).mkpath("run") && QDir(home.path()).mkpath("state") && QDir(home.path()).mkpath("other"));
    for (const char *state : {"", "relative/state"}) {
      qputenv("XDG_STATE_HOME", state);
      QCOMPARE(RescueFolder::open()->path(), home.path() + "/.local/state/quillora");
    }
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.path() + "/state"));
    QVERIFY(QFile::link(home.path() + "/other", home.path() + "/state/quillora"));
    QCOMPARE(RescueFolder::open()->path(), home.path() + "/run/quillora");  // the link is not followed
    QVERIFY(QFile::remove(home.path() + "/state/quillora"));
    std::optional<RescueFolder> rescue = RescueFolder::open();
    QCOMPARE(rescue->path(), home.path() + "/state/quillora");
    QVERIFY(rescue->keep("first\r\n", "Untitled", {}));
    QVERIFY(rescue->keep("second\r\n", "Untitled", {}));
    QCOMPARE(QFileInfo(rescue->path()).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                          QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    QSet<QByteArray> texts;
    for (const QFileInfo &copy : QDir(rescue->path()).entryInfoList({"*.txt"}, QDir::Files)) {
      QCOMPARE(copy.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
      texts.insert(ReadFile(copy.filePath()));
    }
    QCOMPARE(texts, (QSet<QByteArray>{"first\r\n", "second\r\n"}));
    QVERIFY(ReadFile(rescue->path() + "/index").contains("\tUntitled\t"));
    {
      Fixture f;
      QCOMPARE(f.prompts().messages.size(), 1);
      QVERIFY(f.prompts().messages.at(0).text.startsWith("2 of your texts were kept in the folder " + rescue->path()));
    }
    Fixture again;
    QVERIFY(again.prompts().messages.isEmpty());
  }

  // A machine shared with another user, who plants links and files where a
  // save may go: each save is refused with its cause, or done with the
  // file's owner, group and permissions kept; no other file changes, and no
  // temporary file is left anywhere.
  void savesOnASharedMachine_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(SharedMachineRows)); ++i) QTest::newRow(SharedMachineRows[i].name) << i;
  }
  void savesOnASharedMachine() {
    QFETCH(int, row);
    if (geteuid() != 0) QSKIP("another user, devices, mounts and the kernel's link protections need root");
    const SharedMachineRow &r = SharedMachineRows[row];
    KernelProtections protections;
    QTemporaryDir root;
    const QString dir = root.path();
    // Mounts and folder flags of the row go before the folder does.
    const auto cleanUp = qScopeGuard([&] {
      QDirIterator folders(dir, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
      SetFolderFlag(dir, FS_APPEND_FL, false);
      while (folders.hasNext()) SetFolderFlag(folders.next(), FS_APPEND_FL, false);
      for (const char *mounted : {"/hosts", "/btrfs"})
        umount2(QFile::encodeName(dir + mounted).constData(), MNT_DETACH);
    });
    chmod(QFile::encodeName(dir).constData(), 0755);
    for (const auto &[folder, mode, owner] :
         {std::tuple{"shared", 01777, 0}, {"private", 0700, 0}, {"other", 0755, Other}}) {
      QVERIFY(QDir(dir).mkdir(folder));
      const QByteArray path = QFile::encodeName(dir + '/' + folder);
      QCOMPARE(chown(path.constData(), owner, owner), 0);
      QCOMPARE(chmod(path.constData(), mode), 0);
    }
    WriteFile(dir + "/private/root.txt", "root's own");
    const QString target = r.plant(dir);
    if (target.isEmpty()) QSKIP("the file system, mount or tool the row needs is not available here");
    if (r.expected == EACCES && !protections.on()) QSKIP("the kernel's link protections cannot be turned on here");
    auto before = Snapshot(dir);
    const QByteArray old = QFileInfo(target).isFile() ? ReadFile(target) : QByteArray();  // no pipe is read
    QByteArray text("new text");
    while (text.size() < r.length) text += " and more new text";
    if (r.length) text.truncate(r.length);
    QString seen;
    SetSaveObserver([&](SaveStep step, int fd) {
      if (r.fault == Fault::Kill && step == r.killAt) raise(SIGKILL);
      if (step != SaveStep::TemporaryMade && step != SaveStep::TextWritten) return;
      struct stat made {};
      fstat(fd, &made);
      const QByteArray name = QFile::symLinkTarget("/proc/self/fd/" + QString::number(fd)).toLocal8Bit();
      const bool othersRead = AsUser(Other, {Other}, [&] { return open(name.constData(), O_RDONLY) >= 0; }) == 1;
      seen += QStringLiteral("%1:%2:%3:%4 ")
                  .arg(int(step))
                  .arg(made.st_mode & 07777, 0, 8)
                  .arg(made.st_gid)
                  .arg(othersRead);
    });
    // The save, in a process of its own where the row limits or kills it;
    // whether it backed nothing up comes back with its error.
    const auto save = [&]() -> int {
      if (r.recentFiles) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(target));
        alarm(20);  // a freeze ends the process, and fails the row
        UpdateRecentFiles(dir + "/opened.txt", {});
        FinishRecentFilesUpdates();
        return 0;
      }
      if (r.fault == Fault::SizeLimit) {
        rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      SaveResult result;
      for (int i = 0; i < r.saves; ++i) result = WriteWholeFile(target, text);
      return result.error + (result.noBackup ? 80 : 0);
    };
    const bool apart = r.saver != 0 || r.fault != Fault::None || r.recentFiles;
    const int outcome = apart ? AsUser(r.saver, r.saver ? r.groups : std::vector<gid_t>{0}, save) : save();
    SetSaveObserver(nullptr);
    auto after = Snapshot(dir);
    if (r.fault == Fault::Kill) {
      QCOMPARE(outcome, 101);  // killed
      const QByteArray left = ReadFile(target);
      QVERIFY2(left == old || left == text || ReadFile(target + "~") == old, "neither text is whole on disk");
    } else {
      const int error = outcome >= 60 ? outcome - 80 : outcome;
      QCOMPARE(SaveFailureText({error, outcome >= 60}), SaveFailureText({r.expected, r.noBackup}));
    }
    if (r.recentFiles) {
      before.remove(target + "/VIZIvev.ini"), after.remove(target + "/VIZIvev.ini");  // written, when it is a file
      before.remove(target + "/VIZIvev.ini.lock"), after.remove(target + "/VIZIvev.ini.lock");
    } else if (!r.expected && r.fault != Fault::Kill) {
      QCOMPARE(ReadFile(target), text);
      const QString saved = QFileInfo(target).canonicalFilePath();
      const QString inode = after.value(saved).section(u' ', 0, 0);
      if (before.contains(saved)) {
        QCOMPARE(after.value(saved).section(u' ', 1, 3),
                 before.value(saved).section(u' ', 1, 3));  // mode, owner, group, attributes
        QCOMPARE(inode == before.value(saved).section(u' ', 0, 0), r.inPlace);
      }
      for (const QString &path : after.keys())  // every name of the saved file
        if (after.value(path).section(u' ', 0, 0) == inode) before.remove(path), after.remove(path);
    } else if (!r.expected) {  // killed: the saved file's names hold what was checked above
      const QString inode = before.value(target).section(u' ', 0, 0);
      for (const QString &path : before.keys())
        if (before.value(path).section(u' ', 0, 0) == inode) before.remove(path), after.remove(path);
    }
    // What the row expects to appear beside the saved file, or to go.
    for (const QString &change : QString::fromLatin1(r.changes).split(u';', Qt::SkipEmptyParts)) {
      const QString path = QFileInfo(target).absolutePath() + u'/' + change.mid(1).section(u'=', 0, 0);
      if (change.startsWith(u'-')) {
        QVERIFY2(!after.contains(path), qPrintable(path + " is still there"));
        before.remove(path);
        continue;
      }
      const QByteArray holds = change.section(u'=', 1) == u"old" ? old : QByteArray();
      QVERIFY2(after.contains(path), qPrintable(path + " is missing"));
      QCOMPARE(ReadFile(path), holds);
      after.remove(path);
    }
    QCOMPARE(Listed(after), Listed(before));  // no other file, link or folder changed; nothing left behind
    if (r.steps) QCOMPARE(seen, QString::fromLatin1(r.steps));
    if (r.check) r.check(dir, target);
  }

  // Open reads the file it reached, never more than one byte past the limit.
  void theStoreWritesOnlyIntoTheUsersOwnFolder() {
    if (geteuid() != 0) QSKIP("another user's folder needs root");
    QTemporaryDir dir;
    const QString theirs = dir.filePath("theirs"), mine = dir.filePath("mine"), outside = dir.filePath("root.txt");
    QVERIFY(QDir().mkpath(theirs) && QDir().mkpath(mine));
    QCOMPARE(chown(QFile::encodeName(theirs).constData(), Other, Other), 0);
    WriteFile(outside, "root's own");
    QVERIFY(QFile::link(outside, mine + "/VIZIvev.ini"));
    const QMap<QString, QString> before = Snapshot(dir.path());
    for (const QString &folder : {theirs, mine}) {
      const pid_t child = fork();  // the settings paths are the process's own
      if (child == 0) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
        KeepSettingsInOwnFolder();
        SettingsStore().SaveSetting("Recent Files", "RecentFile1", "/x.txt");
        if (folder == theirs)
          QSettings(QSettings::UserScope, "QtProject").setValue("FileDialog/x", 1);  // the file dialog's
        _exit(0);
      }
      waitpid(child, nullptr, 0);
    }
    QCOMPARE(Listed(Snapshot(dir.path())), Listed(before));
  }
};

QTEST_MAIN(SavePathTest)
#include "test_savepath.moc"
