#include "database/Component.h"

#include <algorithm>

namespace qv {

namespace {
void Erase(std::vector<Component*>& list, Component* c)
{
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}
}  // namespace

Component::~Component()
{
    for (Component* watched : watched_)
        Erase(watched->listeners_, this);
    auto listeners = std::move(listeners_);
    for (Component* listener : listeners) {
        Erase(listener->watched_, this);
        listener->Notification(this);
    }
}

void Component::FreeNotification(Component* listener)
{
    if (!listener || listener == this)
        return;
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
        listener->watched_.push_back(this);
    }
}

void Component::RemoveFreeNotification(Component* listener)
{
    if (!listener)
        return;
    Erase(listeners_, listener);
    Erase(listener->watched_, this);
}

}  // namespace qv
