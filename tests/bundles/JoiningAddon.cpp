// A small add-on of the tests' own that joins the sample add-on's supervisor through 'GSUP' and
// takes the sample add-on's announcements.
#include "Addon/BundleEntry.h"
#include "Addon/Supervisor.h"
#include "SampleIDs.h"

#include <string>

namespace {

using namespace zelvane;

class AnnouncementSubscriber : public Subscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override {
        specs.push_back(EventSpec(sample::announcement, 0));
    }
    bool takeEvent(Event&) override {
        host.writeReport(String("Joining add-on took the announcement\n"));
        return true;
    }
};

class JoiningAddon : public Addon {
public:
    JoiningAddon() : Addon(sample::developerID, sample::localID) {
        addSubscriber(&m_subscriber);
        String line(ownsSupervisor() ? "Joining add-on has a supervisor of its own\n"
                                     : "Joining add-on joined a supervisor of ");
        if (!ownsSupervisor()) {
            line += std::to_string(getSupervisor().getMembers().size()).c_str();
            line += " members\n";
        }
        host.writeReport(line);
    }
    ~JoiningAddon() override { removeSubscriber(&m_subscriber); }

    const ProductInfo& getProductInfo() const override { return m_info; }
    String getProductVersion() const override { return String("0.3"); }
    String getBuildNo() const override { return String("7"); }
    void reportUnexpectedFailure() override {
        host.writeReport(String("Joining add-on: unexpected failure\n"));
    }

private:
    ProductInfo m_info{String("Joining Tool")};
    AnnouncementSubscriber m_subscriber;
};

} // namespace

ZELVANE_BUNDLE(JoiningAddon, "Joining Tool", "Joins the sample add-on.")
