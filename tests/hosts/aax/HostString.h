// A string of the host's making, handed to the library as its text interface. It is built in
// the fake host's own source, as a host's strings come from its own binary, so no compiler sees
// both its type and the library's calls through the interface.
#pragma once

#include <memory>
#include <string>

namespace fakeaax
{
class HostString
{
public:
    explicit HostString(std::string text = {});
    ~HostString();
    HostString(const HostString&) = delete;
    HostString& operator=(const HostString&) = delete;

    /** What the library receives. */
    void* asInterface();
    std::string text() const;
    /** Makes Get answer null, as a careless host might. */
    void answerNull();

private:
    class Object;
    std::unique_ptr<Object> mObject;
};
} // namespace fakeaax
