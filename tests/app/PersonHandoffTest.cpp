#include "app/PersonHandoff.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(PersonHandoffTest, ValuesTravelEscapedInTheirUrlForms)
{
    struct Case {
        std::string value;
        std::string tel;
        std::string mail;
    };
    const Case cases[] = {
        { "+81-90-1234-5678", "tel://+81-90-1234-5678", "mailto://+81-90-1234-5678" },
        { "*31#", "tel://*31%23", "mailto://*31%23" },
        // A hostile value must not add a header or a query of its own.
        { "1;2?x=y", "tel://1%3B2%3Fx%3Dy", "mailto://1%3B2%3Fx%3Dy" },
        { "a@b.c?cc=evil@x", "tel://a@b.c%3Fcc%3Devil@x", "mailto://a@b.c%3Fcc%3Devil@x" },
        { "taro yamada@例.jp", "tel://taro%20yamada@%E4%BE%8B.jp", "mailto://taro%20yamada@%E4%BE%8B.jp" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(PersonHandoff::telURL(c.value), c.tel);
        EXPECT_EQ(PersonHandoff::mailURL(c.value), c.mail);
        EXPECT_EQ(PersonHandoff::smsURL(c.value), "sms://" + c.tel.substr(6));
        EXPECT_EQ(PersonHandoff::facetimeURL(c.value), "facetime://" + c.tel.substr(6));
    }
}

} // namespace
} // namespace tessaro
