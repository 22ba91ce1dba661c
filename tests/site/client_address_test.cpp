// Whose request it is behind proxies: X-Forwarded-For believed only from the
// configured proxies, read from the right.
#include <gtest/gtest.h>

#include "site/client_address.h"

namespace {

TEST(ClientAddress, OnlyTrustedHopsVouchForTheAddressBeforeThem) {
  site::TrustedProxies proxies;
  ASSERT_TRUE(proxies.Add("127.0.0.1"));
  ASSERT_TRUE(proxies.Add("10.1.0.0/16"));
  ASSERT_TRUE(proxies.Add("fd00::/8"));
  struct Case {
    const char* peer;
    const char* forwardedFor;
    const char* client;
  } cases[] = {
      {"203.0.113.7", "", "203.0.113.7"},                     // no proxy
      {"203.0.113.7", "198.51.100.1", "203.0.113.7"},         // forged, straight to the site
      {"127.0.0.1", "", "127.0.0.1"},                         // the proxy itself
      {"127.0.0.1", "203.0.113.7", "203.0.113.7"},            // one proxy
      {"127.0.0.1", "198.51.100.1, 203.0.113.7", "203.0.113.7"},  // forged in front of one proxy
      {"127.0.0.1", "203.0.113.7, 10.1.2.3", "203.0.113.7"},      // two proxies
      {"127.0.0.1", "1.2.3.4,203.0.113.7,10.1.2.3", "203.0.113.7"},
      {"127.0.0.1", "10.1.9.9, 10.1.2.3", "10.1.9.9"},        // only proxies: the first of them
      {"127.0.0.1", "203.0.113.7, 10.2.0.1", "10.2.0.1"},     // 10.2 is outside the range
      {"127.0.0.1", "evil, 203.0.113.7", "203.0.113.7"},
      {"127.0.0.1", "203.0.113.7, garbage", "127.0.0.1"},     // a proxy never writes that
      {"::ffff:127.0.0.1", "2001:db8::5, fd12::1", "2001:db8::5"},
      {"fd00::1", "2001:db8::5", "2001:db8::5"},
      {"fe80::1", "2001:db8::5", "fe80::1"},
      {"10.1.255.255", " 203.0.113.7 ", "203.0.113.7"},
      {"10.0.255.255", "203.0.113.7", "10.0.255.255"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(proxies.ClientAddress(c.peer, c.forwardedFor), c.client) << c.peer << " / " << c.forwardedFor;

  site::TrustedProxies none;
  EXPECT_EQ(none.ClientAddress("127.0.0.1", "203.0.113.7"), "127.0.0.1");
  for (const char* bad : {"", "localhost", "127.0.0.1/33", "::1/129", "10.0.0.0/", "1.2.3.4/x"})
    EXPECT_FALSE(none.Add(bad)) << bad;
  EXPECT_TRUE(none.Add("0.0.0.0/0"));
  EXPECT_TRUE(none.Contains("192.0.2.1"));
  EXPECT_FALSE(none.Contains("2001:db8::1"));
}

}  // namespace
