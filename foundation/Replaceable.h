#pragma once
// A service the program replaces as a whole (the message presenter, the dialog runner, the file chooser):
// the window program, batch jobs and tests each install their own, and a scope puts back the one before.
#include <memory>
#include <utility>

// The service in use: a Default, made when first asked for, until another is installed.
template <typename Service, typename Default>
class TReplaceable {
public:
    Service& Get() {
        if (!service_)
            service_ = std::make_unique<Default>();
        return *service_;
    }
    // Installs service (null: a Default again) and hands back the one it replaces.
    std::unique_ptr<Service> Install(std::unique_ptr<Service> service) {
        return std::exchange(service_, std::move(service));
    }

private:
    std::unique_ptr<Service> service_;
};

// Installs a service through install for its own lifetime and puts the previous one back.
template <auto install>
class TScopedInstall {
public:
    using TService = typename decltype(install(nullptr))::element_type;

    explicit TScopedInstall(std::unique_ptr<TService> service)
        : previous_(install(std::move(service))) {}
    ~TScopedInstall() { install(std::move(previous_)); }
    TScopedInstall(const TScopedInstall&) = delete;
    TScopedInstall& operator=(const TScopedInstall&) = delete;

private:
    std::unique_ptr<TService> previous_;
};
