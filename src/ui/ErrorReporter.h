#pragma once
// The one place where errors stop: every handler of the windows runs through
// ErrorReporter::Run, which shows an error it raises in the error box, so that no
// exception ever reaches Qt's event loop.
#include <QString>

#include <exception>
#include <utility>

class DialogService;

// The title of the program's message boxes: name up to its first ".", every letter
// after the first in lower case ("VELLUMARK.EXE" gives "Vellumark").
QString ApplicationTitle(const QString& applicationName);

class ErrorReporter {
public:
    explicit ErrorReporter(DialogService& dialogs) : dialogs_(dialogs) {}

    // Returns whether the handler ran to its end; what it changed before an error
    // stays changed.
    template <typename Handler>
    bool Run(Handler&& handler) const noexcept
    {
        try {
            std::forward<Handler>(handler)();
            return true;
        } catch (const std::exception& error) {
            Report(error.what());
        } catch (...) {
            Report("Unknown error");
        }
        return false;
    }

    // Shows the error box with the application's title.
    void Report(const char* message) const noexcept;

private:
    DialogService& dialogs_;
};
