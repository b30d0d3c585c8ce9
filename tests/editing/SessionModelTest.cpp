// The session against a small model of what it must hold: random sequences of
// edits, undo, redo, replaced pictures, pictures changed by another program, opens,
// saves and drags, checked after every operation against the model's files and
// history. VELLUMARK_MODEL_SEQUENCES sets how many sequences run (a longer run).
#include "EditingSession.h"

#include "GifWriter.h"
#include "TestSkin.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>

namespace {

// nullopt: no file. A text starting with "BIG" stands for a file past the size
// limit whose first bytes are that text.
using Picture = std::optional<std::string>;

struct State {
    std::vector<std::string> lines;
    std::array<Picture, SkinPictureCount> pictures;
    bool operator==(const State&) const = default;
};

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

Picture PictureOnDisk(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    if (static_cast<std::size_t>(info.size()) > MaxPictureFileBytes) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "unreadable";
        return file.read(4).toStdString();
    }
    return ReadAll(path);
}

// Written as a paint program saves: a new file renamed over the old one.
void PutFileByRename(const QString& path, const Picture& content)
{
    if (!content) {
        QFile::remove(path);
        return;
    }
    const QString temporary = path + ".paint";
    QFile file(temporary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content->data(), static_cast<qint64>(content->size()));
    if (content->rfind("BIG", 0) == 0)
        file.resize(static_cast<qint64>(MaxPictureFileBytes) + 1); // sparse: nothing is really written
    file.close();
    ASSERT_EQ(std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()), 0);
}

std::string Gif(QRgb color)
{
    const QByteArray bytes = EncodeGif(SolidGif(4, 3, color));
    return bytes.toStdString();
}

// What the session must show, and the history it must have.
struct Model {
    std::vector<State> states;
    int index = 0;
    State saved;
    std::string description; // the working copy's Ruvex.rvk
    std::optional<MergeKey> open;

    const State& Now() const { return states[static_cast<std::size_t>(index)]; }

    void Fresh(const State& state, const std::string& descriptionBytes)
    {
        states = {state};
        index = 0;
        saved = state;
        description = descriptionBytes;
        open.reset();
    }

    void Push(const State& next, const std::optional<MergeKey>& merge = std::nullopt)
    {
        if (next == Now())
            return;
        states.resize(static_cast<std::size_t>(index) + 1);
        if (merge && open == merge) {
            states.back() = next;
            if (index > 0 && next == states[static_cast<std::size_t>(index) - 1]) { // back at its start: no step
                states.pop_back();
                --index;
                open.reset();
            }
            return;
        }
        states.push_back(next);
        ++index;
        open = merge;
    }
};

// Fast to write (no flush to a disk) where the system has a memory file system.
QString ScratchFolder()
{
    return QFileInfo("/dev/shm").isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

class SessionModelTest : public ::testing::Test {
protected:
    // Every temporary folder of the test there, the test skins' too.
    static void SetUpTestSuite()
    {
        tmpdir_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", ScratchFolder().toLocal8Bit());
    }
    static void TearDownTestSuite() { tmpdir_.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpdir_); }
    static inline QByteArray tmpdir_;

    void SetUp() override
    {
        complete.WriteComplete();
        other.WriteDescription(SkinWith({"Artist = 30 40 17 2 2 0xFFFFFF00 0x000000FF"}));
        for (int n = 0; n < SkinPictureCount; ++n)
            if (n != 12) // lacks 12.gif: the working copy's is used
                other.WriteBytes(QString("%1.gif").arg(n), Gif(qRgb(n, 100, 200)));
        refused.WriteComplete();
        QFile::remove(refused.Path("3.gif"));
        QDir(refused.Dir()).mkdir("3.gif");
        broken.WritePictures();
        broken.WriteDescription(SkinWith({"Artist = 88 forty 17 2 2 0xFFFFFF00 0x000000FF"}));
        for (QRgb color : {qRgb(250, 0, 0), qRgb(0, 250, 0), qRgb(0, 0, 250), qRgb(9, 9, 9)})
            goodPictures.push_back(Gif(color));
    }

    State StateOf(const TestSkin& skin, const State& before) const
    {
        State state;
        state.lines = SplitTextLines(skin.ReadBytes("Ruvex.rvk"));
        for (int n = 0; n < SkinPictureCount; ++n) {
            const QString name = QString("%1.gif").arg(n);
            state.pictures[static_cast<std::size_t>(n)] = QFileInfo::exists(skin.Path(name))
                ? Picture(skin.ReadBytes(name))
                : before.pictures[static_cast<std::size_t>(n)];
        }
        return state;
    }

    void RunSequence(unsigned seed);

    TestSkin complete, other, refused, broken;
    std::vector<std::string> goodPictures;
};

void SessionModelTest::RunSequence(unsigned seed)
{
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    QTemporaryDir executable;
    ASSERT_TRUE(executable.isValid());
    const QString folder = executable.path() + "/";
    const QString working = folder + "Temp/";
    EditingSession session([folder] { return folder; });
    int reports = 0;
    QObject::connect(&session, &EditingSession::ExternalChangeFailed, [&] { ++reports; });
    Model model;
    std::string trail; // the operations so far, for the failure message

    const auto expectSession = [&] {
        const State& now = model.Now();
        ASSERT_EQ(session.Document().Lines.Lines(), now.lines) << trail;
        for (int n = 0; n < SkinPictureCount; ++n)
            ASSERT_EQ(PictureOnDisk(working + QString("%1.gif").arg(n)), now.pictures[static_cast<std::size_t>(n)])
                << n << ".gif after" << trail;
        ASSERT_EQ(ReadAll(working + "Ruvex.rvk"), model.description) << trail;
        ASSERT_EQ(session.IsModified(), !(now == model.saved)) << trail;
        ASSERT_EQ(session.History().count(), static_cast<int>(model.states.size()) - 1) << trail;
        ASSERT_EQ(session.History().index(), model.index) << trail;
    };
    const auto open = [&](const TestSkin& skin, const State& before) {
        ErrorOf([&] { session.Open(skin.DescriptionPath()); });
        model.Fresh(StateOf(skin, before), skin.ReadBytes("Ruvex.rvk"));
    };

    open(complete, State{});
    expectSession();
    const std::vector<ElementRef> elements = {{SkinCategory::Strings, "Artist"},
                                              {SkinCategory::Pictures, "Play"},
                                              {SkinCategory::Objects, "VolumeBar"}};
    QTemporaryDir elsewhere;
    for (int step = 0; step < 40; ++step) {
        const int what = pick(100);
        const int number = pick(2) == 0 ? 12 : pick(SkinPictureCount);
        const QString pictureFile = working + QString("%1.gif").arg(number);
        State next = model.Now();
        if (what < 30) { // an edit in a field
            const ElementRef& element = elements[static_cast<std::size_t>(pick(3))];
            const int control = pick(2);
            const ItemValues values{28 + pick(3), 40, 50, 5, 17, 2, 2, "0xFFFFFF00"};
            trail += " edit:" + element.key + "/" + std::to_string(control) + "=" + std::to_string(values.X);
            SkinLines lines;
            lines.Assign(next.lines);
            lines.Replace(lines.FindKey(element.key), ComposeItemLine(element.category, element.key, values));
            next.lines = lines.Lines();
            ErrorOf([&] { session.StoreElement(element, values, control); }); // a skin that does not parse says so
            model.Push(next, MergeKey{element.key, control});
        } else if (what < 36) {
            trail += " commit";
            session.Commit();
            model.open.reset();
        } else if (what < 46) {
            trail += " undo";
            ErrorOf([&] { session.Undo(); });
            model.index = std::max(0, model.index - 1);
            model.open.reset();
        } else if (what < 54) {
            trail += " redo";
            ErrorOf([&] { session.Redo(); });
            model.index = std::min(static_cast<int>(model.states.size()) - 1, model.index + 1);
            model.open.reset();
        } else if (what < 64) { // a replacement: good, not a picture, or past the limit
            const int kind = pick(4);
            const QString chosen = elsewhere.filePath(QString("chosen%1.gif").arg(step));
            Picture content = kind == 0 ? Picture("GIF89a but no picture")
                : kind == 1             ? Picture("BIGx")
                                        : Picture(goodPictures[static_cast<std::size_t>(pick(4))]);
            PutFileByRename(chosen, content);
            trail += " replace" + std::to_string(number) + ":" + std::to_string(kind);
            const std::string error = ErrorOf([&] { session.ReplacePicture(number, chosen); });
            if (kind >= 2) {
                ASSERT_EQ(error, "<no error>") << trail;
                model.open.reset();
                next.pictures[static_cast<std::size_t>(number)] = content;
                model.Push(next);
            } else {
                ASSERT_NE(error.find(chosen.toStdString()), std::string::npos) << error; // names the chosen file
            }
        } else if (what < 76) { // another program: good, not a picture, removed, past the limit
            const int kind = pick(5);
            const Picture content = kind == 0 ? Picture("GIF89a but no picture")
                : kind == 1                   ? Picture()
                : kind == 2                   ? Picture("BIGy")
                                              : Picture(goodPictures[static_cast<std::size_t>(pick(4))]);
            trail += " outside" + std::to_string(number) + ":" + std::to_string(kind);
            const bool changes = !(content == model.Now().pictures[static_cast<std::size_t>(number)]);
            PutFileByRename(pictureFile, content);
            const int reportsBefore = reports;
            session.TakeOutsideChanges();
            if (kind >= 3) {
                if (changes)
                    model.open.reset();
                next.pictures[static_cast<std::size_t>(number)] = content;
                model.Push(next);
                ASSERT_EQ(reports, reportsBefore) << trail;
            } else {
                ASSERT_EQ(reports, reportsBefore + 1) << trail; // told once, and the picture put back
            }
        } else if (what < 80) {
            trail += " autosave";
            ErrorOf([&] { session.Autosave(); });
            model.description = JoinCrLf(model.Now().lines);
        } else if (what < 84) {
            trail += " saveas";
            QTemporaryDir target;
            const std::string error = ErrorOf([&] { session.SaveAs(target.filePath("Ruvex.rvk")); });
            model.open.reset();
            // A picture past the limit is no picture a phone can show: Save as refuses it.
            const auto& pictures = model.Now().pictures;
            if (std::any_of(pictures.begin(), pictures.end(), [](const Picture& p) { return p && p->rfind("BIG", 0) == 0; })) {
                ASSERT_NE(error.find("larger than the limit"), std::string::npos) << trail;
                ASSERT_FALSE(QFileInfo::exists(target.filePath("Ruvex.rvk"))) << trail;
            } else {
                ASSERT_EQ(error, "<no error>") << trail;
                ASSERT_EQ(ReadAll(target.filePath("Ruvex.rvk")), JoinCrLf(model.Now().lines)) << trail;
                model.saved = model.Now();
            }
        } else if (what < 92) { // a drag, released or cancelled
            const ElementRef& element = elements[static_cast<std::size_t>(pick(3))];
            const bool cancel = pick(2) == 0;
            trail += std::string(cancel ? " dragcancel:" : " drag:") + element.key;
            ItemValues values{0, 40, 50, 5, 17, 2, 2, "0xFFFFFF00"};
            for (int move = 0; move < 3; ++move) {
                values.X = 20 + pick(15);
                ErrorOf([&] { session.StoreElementLive(element, values); });
            }
            SkinLines lines;
            lines.Assign(next.lines);
            lines.Replace(lines.FindKey(element.key), ComposeItemLine(element.category, element.key, values));
            if (cancel) {
                ErrorOf([&] { session.CancelLive(); });
            } else {
                ErrorOf([&] { session.CommitLive("Move"); });
                if (!(lines.Lines() == next.lines))
                    model.open.reset();
                next.lines = lines.Lines();
                model.Push(next);
            }
        } else { // another skin: good (maybe over a picture past the limit), refused, or not parsing
            const int kind = pick(4);
            trail += " open:" + std::to_string(kind);
            if (kind == 0) {
                const std::string error = ErrorOf([&] { session.Open(refused.DescriptionPath()); });
                ASSERT_NE(error, "<no error>");
            } else if (kind == 1) {
                open(broken, model.Now());
            } else {
                State before = model.Now();
                if (pick(2) == 0) { // an earlier run left a picture past the limit
                    PutFileByRename(working + "12.gif", Picture("BIGz"));
                    before.pictures[12] = "BIGz";
                }
                open(kind == 2 ? other : complete, before);
            }
        }
        expectSession();
    }

    // Back to the start through every state, and forward to the end again.
    while (model.index > 0) {
        ErrorOf([&] { session.Undo(); });
        --model.index;
        expectSession();
    }
    while (model.index < static_cast<int>(model.states.size()) - 1) {
        ErrorOf([&] { session.Redo(); });
        ++model.index;
        expectSession();
    }
}

TEST_F(SessionModelTest, EveryOperationInAnyOrderKeepsTheWorkingCopyTheMarkAndTheHistoryAsTheModelSays)
{
    const char* wanted = std::getenv("VELLUMARK_MODEL_SEQUENCES");
    const unsigned sequences = wanted != nullptr ? static_cast<unsigned>(std::strtoul(wanted, nullptr, 10)) : 150;
    for (unsigned seed = 1; seed <= sequences && !HasFatalFailure(); ++seed) {
        SCOPED_TRACE("sequence " + std::to_string(seed));
        RunSequence(seed);
    }
}

} // namespace
