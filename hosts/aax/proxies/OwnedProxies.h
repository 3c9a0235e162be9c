// The sets in which a proxy keeps the proxies it made and deletes them.
#pragma once

#include <memory>
#include <set>
#include <utility>

/** Makes a proxy and records it; a failure to record it deletes it again. */
template <typename Proxy, typename... Args>
Proxy* makeOwned(std::set<Proxy*>& owned, Args&&... args)
{
    auto proxy = std::make_unique<Proxy>(std::forward<Args>(args)...);
    owned.insert(proxy.get());
    return proxy.release();
}

template <typename Proxy> void deleteAll(std::set<Proxy*>& owned)
{
    for (auto* proxy : owned)
        delete proxy;
    owned.clear();
}
