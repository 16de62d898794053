#include "platform/foundation/NotificationCenter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using foundation::Notification;
using foundation::NotificationCenter;
using foundation::Observation;

TEST(NotificationCenter, DeliversByNameAndOptionalObjectWithTheUserInfo)
{
    NotificationCenter center;
    std::vector<std::string> heard;
    auto any = center.addObserver("Contact", std::nullopt, [&](const Notification& n) {
        heard.push_back("any:" + n.object + ":" + n.text("memo"));
    });
    auto mailOnly = center.addObserver("Contact", std::string("kNotificationNameMemoMail"), [&](const Notification& n) {
        heard.push_back("mail:" + n.text("memo"));
    });

    center.postNotification("Contact", "kNotificationNameMemoMail", { { "memo", std::string("hello") } });
    center.postNotification("Contact", "kNotificationNameShowDetail", { { "contact", 42 } });
    center.postNotification("Other", "kNotificationNameMemoMail");

    EXPECT_EQ(heard, (std::vector<std::string> { "any:kNotificationNameMemoMail:hello", "mail:hello", "any:kNotificationNameShowDetail:" }));
}

TEST(NotificationCenter, PayloadOfAnyTypeComesBackOnlyAsTheTypeItWas)
{
    struct Person {
        int recordID { 0 };
    };
    NotificationCenter center;
    const Person* seen = nullptr;
    const std::string* wrongType = nullptr;
    Person person { 7 };
    auto observation = center.addObserver("Contact", std::nullopt, [&](const Notification& n) {
        seen = n.value<Person>("contact");
        wrongType = n.value<std::string>("contact");
        EXPECT_EQ(seen ? seen->recordID : -1, 7);
    });
    center.postNotification("Contact", "kNotificationNameShowDetail", { { "contact", person } });
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(wrongType, nullptr);
}

TEST(NotificationCenter, ObserversEndWithTheirObservationEvenDuringAPost)
{
    NotificationCenter center;
    int first = 0;
    int second = 0;
    Observation secondObservation;
    auto firstObservation = center.addObserver("N", std::nullopt, [&](const Notification&) {
        ++first;
        secondObservation.reset();
    });
    secondObservation = center.addObserver("N", std::nullopt, [&](const Notification&) { ++second; });
    center.postNotification("N");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);

    {
        auto scoped = center.addObserver("N", std::nullopt, [&](const Notification&) { ++second; });
    }
    center.postNotification("N");
    EXPECT_EQ(second, 0);
    EXPECT_EQ(center.observerCount(), 1u);
}

TEST(NotificationCenter, ObservationOutlivingItsCentreIsHarmless)
{
    Observation observation;
    {
        NotificationCenter center;
        observation = center.addObserver("N", std::nullopt, [](const Notification&) {});
        EXPECT_TRUE(observation.isActive());
    }
    EXPECT_FALSE(observation.isActive());
    observation.reset();
}
