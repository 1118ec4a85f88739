#pragma once
// Where the windows find each other: the main window, the links to the
// document windows, the one loaded instance of each single-instance form,
// and the services higher layers offer lower ones (keyed by their type).
// The program's window owner holds the one registry and installs it for
// its lifetime; without one (batch, tests that build no owner) an empty
// registry answers, and a missing service answers with its no-op default,
// so no caller checks for null.
#include <QObject>
#include <QPointer>

#include <map>
#include <memory>
#include <typeindex>

namespace raylen {

class ImageWindowLink;
class MdiRaylen;
class PlotWindowLink;

class WindowRegistry {
public:
    WindowRegistry() = default;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    MdiRaylen* mainWindow = nullptr;
    PlotWindowLink* plotWindow = nullptr;
    ImageWindowLink* imageWindow = nullptr;

    // The loaded form of a kind, or null (gone with the form).
    template <class Form>
    Form* loaded() const
    {
        const auto found = forms_.find(typeid(Form));
        return found == forms_.end() ? nullptr : static_cast<Form*>(found->second.data());
    }
    template <class Form>
    void setLoaded(Form* form)
    {
        forms_[typeid(Form)] = static_cast<QObject*>(form);
    }

    // Forgets the loaded form of a kind if it is this one; safe while the
    // form is being destroyed (no cast to the form's type).
    template <class Form>
    void forget(const QObject* form)
    {
        const auto found = forms_.find(typeid(Form));
        if (found != forms_.end() && found->second.data() == form)
            found->second = nullptr;
    }

    // The installed service, else a default-made one (no-op by contract:
    // a service type is a class whose every call does nothing by default).
    template <class Service>
    Service& service()
    {
        const auto found = services_.find(typeid(Service));
        if (found != services_.end() && found->second != nullptr)
            return *static_cast<Service*>(found->second);
        std::shared_ptr<void>& fallback = defaults_[typeid(Service)];
        if (!fallback)
            fallback = std::make_shared<Service>();
        return *static_cast<Service*>(fallback.get());
    }
    // The installed service, or null (no default is made).
    template <class Service>
    Service* installedService() const
    {
        const auto found = services_.find(typeid(Service));
        return found == services_.end() ? nullptr : static_cast<Service*>(found->second);
    }
    // Installs a service owned by the caller; null uninstalls it.
    template <class Service>
    void setService(Service* service)
    {
        services_[typeid(Service)] = service;
    }

private:
    std::map<std::type_index, QPointer<QObject>> forms_;
    std::map<std::type_index, void*> services_;
    std::map<std::type_index, std::shared_ptr<void>> defaults_;
};

// The installed registry, else the empty one.
WindowRegistry& windowRegistry();

// Puts a service in place for the life of this object, then the one before
// it back (tests and benchmarks that stand in for a window).
template <class Service>
class ServiceOverride {
public:
    explicit ServiceOverride(Service& service) : previous_(windowRegistry().installedService<Service>())
    {
        windowRegistry().setService(&service);
    }
    ~ServiceOverride() { windowRegistry().setService(previous_); }
    ServiceOverride(const ServiceOverride&) = delete;
    ServiceOverride& operator=(const ServiceOverride&) = delete;

private:
    Service* previous_;
};

// Installs a registry for the life of this object (the window owner holds one).
class RegistryInstallation {
public:
    explicit RegistryInstallation(WindowRegistry& registry);
    ~RegistryInstallation();
    RegistryInstallation(const RegistryInstallation&) = delete;
    RegistryInstallation& operator=(const RegistryInstallation&) = delete;

private:
    WindowRegistry* previous_;
};

} // namespace raylen
