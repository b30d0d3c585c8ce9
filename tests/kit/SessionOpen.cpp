// The editor's Open of a skin, as scripts/hostile-kit.sh times and measures it: the
// editing session opens SKIN_DIR (copy into its own working folder, load, preview),
// then the Problems page's check runs on the document. Prints the error as the
// error box would show it, then one line per problem, as the page lists them.
//   session-open SKIN_DIR
#include "EditingSession.h"
#include "SkinChecker.h"
#include "SkinError.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: session-open SKIN_DIR\n");
        return 2;
    }
    std::signal(SIGXFSZ, SIG_IGN); // as the programs do: a file-size limit is one more failed write
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QTemporaryDir executableFolder;
    const QString folder = executableFolder.path() + QLatin1Char('/');
    EditingSession session([&] { return folder; });
    int status = 0;
    try {
        session.Open(QFile::decodeName(argv[1]) + QStringLiteral("/Ruvex.rvk"));
    } catch (const std::exception& error) {
        std::printf("error: %s\n", ErrorBoxText(error.what()).c_str());
        status = 1;
    }
    std::string page;
    for (const SkinProblem& problem : CheckDocument(session.Document()))
        page += ProblemLine(problem) + "\n";
    std::fwrite(page.data(), 1, page.size(), stdout);
    return status;
}
