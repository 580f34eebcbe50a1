// The "VersionControl.<system>" services: a factory per system, each
// connection an endpoint that answers every message of the interface with
// that system's backend.  File names in messages are taken relative to
// the asking tool's directory.
#pragma once

#include <memory>
#include <string>

#include "services/service_factory.h"

class VcBackend;

class VcsServiceFactory : public ServiceFactory {
 public:
  // "VersionControl." + system ("VersionControl" for "", which serves each
  // file by the system holding it); registered globally, unlimited
  // connections.
  explicit VcsServiceFactory(const std::string& system);
  ~VcsServiceFactory() override;
  STPSpecClass* getService(STPTransport* transport, uint32_t localRN,
                           uint32_t remoteRN) override;

 private:
  std::unique_ptr<VcBackend> backend_;
};

// The systems served, in the order their services are offered ("" for
// plain "VersionControl").
inline constexpr const char* kVcsSystems[] = {"KVC", "CVS", "RCS", "Git", ""};
