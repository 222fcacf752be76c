#pragma once

#include "document/exceptions.h"

#include <QString>

#include <exception>

// The application title: the caption of every error box.
void setApplicationTitle(const QString &title);
QString applicationTitle();

// The error box: the message and a period, always, even after one already there.
void showException(const std::exception &error);

// Runs a handler so that no exception crosses into Qt: an EAbort ends it silently, any other
// is shown in the error box and the program runs on. True when the handler completed.
template <typename Handler>
bool runGuarded(Handler &&handler) noexcept
{
    try {
        handler();
        return true;
    } catch (const EAbort &) {
    } catch (const std::exception &error) {
        showException(error);
    }
    return false;
}

// A slot for connect() that runs object->method() inside the guard.
template <typename Object>
auto guarded(Object *object, void (Object::*method)())
{
    return [object, method]() noexcept { runGuarded([&] { (object->*method)(); }); };
}
