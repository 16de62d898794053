#pragma once
// Screens that stand in the root's places during tests and write down what the root asks
// of them, in one shared journal, so that tests can check the order of things.

#include "addressbook/Contact.h"
#include "app/BannerNetworks.h"
#include "app/ContactDetailScreen.h"
#include "app/KeypadScreen.h"
#include "app/RootScreens.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace apptest {

using Journal = std::vector<std::string>;

class SpyScreen : public tessaro::CommonViewController {
public:
    SpyScreen(std::string name, Journal& journal)
        : m_name(std::move(name))
        , m_journal(journal)
    {
    }
    void reloadViewData() override { m_journal.push_back(m_name + ":reload"); }

private:
    std::string m_name;
    Journal& m_journal;
};

class SpyKeypad : public tessaro::KeypadScreen {
public:
    SpyKeypad(tessaro::KeypadHost& host, Journal& journal)
        : host(&host)
        , m_journal(journal)
    {
    }
    void viewDidLoad() override { view()->setAccessibilityIdentifier("spy.keypad"); }
    void clearAll() override { m_journal.push_back("keypad:clearAll"); }
    void reloadData() override { m_journal.push_back("keypad:reloadData"); }
    void viewDidAppear(bool) override { m_journal.push_back("keypad:didAppear"); }
    void viewDidDisappear(bool) override { m_journal.push_back("keypad:didDisappear"); }

    tessaro::KeypadHost* host { nullptr };

private:
    Journal& m_journal;
};

class SpyDetail : public tessaro::ContactDetailScreen {
public:
    SpyDetail(tessaro::Contact contact, Journal& journal)
        : contact(std::move(contact))
        , m_journal(journal)
    {
    }
    void viewDidAppear(bool) override { m_journal.push_back("detail:didAppear"); }
    void viewDidDisappear(bool) override { m_journal.push_back("detail:didDisappear"); }
    // What the detail's close button does.
    void close() { cancelDetail(); }

    tessaro::Contact contact;

private:
    Journal& m_journal;
};

class SpyBanners : public tessaro::BannerNetworks {
public:
    explicit SpyBanners(Journal& journal)
        : m_journal(journal)
    {
    }
    void attach(ui::View&, ui::ViewController&) override { m_journal.push_back("banner:attach"); }
    void showAdMob() override { m_journal.push_back("banner:AdMob"); }
    void showKestrel() override { m_journal.push_back("banner:kestrel"); }
    void showAd() override { m_journal.push_back("banner:platform"); }

private:
    Journal& m_journal;
};

// Screens that write into the journal; the keypad and details made are kept weakly in the
// lists, so tests can see which exist and whether the root let them go.
struct SpyScreens {
    Journal journal;
    std::vector<std::weak_ptr<SpyKeypad>> keypads;
    std::vector<std::weak_ptr<SpyDetail>> details;

    tessaro::RootScreens make();
};

} // namespace apptest
