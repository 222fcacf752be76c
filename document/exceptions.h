#pragma once

#include <stdexcept>
#include <string>

// The failures a command can meet. Each carries the exact text the error box shows.
class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string &message) : std::runtime_error(message) {}
};

class EFOpenError : public Exception
{
public:
    using Exception::Exception;
};

class EFCreateError : public Exception
{
public:
    using Exception::Exception;
};

class EWriteError : public Exception
{
public:
    using Exception::Exception;
};

class EInvalidOperation : public Exception
{
public:
    using Exception::Exception;
};

class EOutOfResources : public Exception
{
public:
    using Exception::Exception;
};

// Ends a command silently: the guard around handlers shows nothing for it.
class EAbort : public Exception
{
public:
    EAbort() : Exception("Operation aborted") {}
};
