#pragma once
// A named, non-visual object that other components can watch: whoever asked
// with FreeNotification is told by Notification() when it is destroyed, so
// that no reference to a destroyed object is kept.
#include <string>
#include <vector>

namespace qv {

class Component {
public:
    explicit Component(std::string name = {}) : name_(std::move(name)) {}
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // listener->Notification(this) is called when this component goes.
    void FreeNotification(Component* listener);
    void RemoveFreeNotification(Component* listener);

protected:
    // A component this one watches is being destroyed.
    virtual void Notification(Component* /*removed*/) {}

private:
    std::string name_;
    std::vector<Component*> listeners_;  // told when this goes
    std::vector<Component*> watched_;    // this is told when they go
};

// Points link at next on behalf of watcher: it stops watching the old
// component and watches the new one, so that it hears when that one goes.
template <class T>
void Rewatch(T*& link, T* next, Component* watcher)
{
    if (link)
        link->RemoveFreeNotification(watcher);
    link = next;
    if (link)
        link->FreeNotification(watcher);
}

// Rewatch, and the client also leaves the old owner's list of clients and
// joins the new one's.
template <class Owner, class Client>
void Relink(Owner*& link, Owner* next, Client* client)
{
    if (link)
        link->Detach(client);
    Rewatch(link, next, client);
    if (link)
        link->Attach(client);
}

}  // namespace qv
