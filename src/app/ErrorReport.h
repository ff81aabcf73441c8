#pragma once

#include <exception>
#include <utility>

#include "platform/Error.h"
#include "platform/Prompts.h"

namespace zw {

// The application's error report at the edge: runs one command; an error ends the command with the
// German message in a message box, and the program carries on. No exception crosses the event loop.
template <typename Command>
bool reportErrors(Prompts& prompts, Command&& command) {
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const Error& e) {
        prompts.error(e.message());
    } catch (const std::bad_alloc&) {
        prompts.error(QStringLiteral("Zu wenig Arbeitsspeicher für diesen Befehl."));
    } catch (const std::exception& e) {
        prompts.error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace zw
