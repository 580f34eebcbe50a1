// The real vc_service program, started by a private service router when
// this test asks for "VersionControl.KVC": a file is placed under version
// control, checked in again, and its versions come back through the
// messages the viewer sends, also through plain "VersionControl".
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "base/gen.h"
#include "services/servicerouter_proxy.h"
#include "test_support.h"
#include "vc/VersionControl_client_Impl.h"

namespace {

std::string str(const STPOwnedString& s) { return s.get() ? s.get() : ""; }

TEST(ThroughTheRouter, TheProgramServesKvc) {
  gen_init("test_vc_service", 0, 0);
  test_support::ScratchDir dir;
  setenv("HOME", dir.path().c_str(), 1);  // no user service table
  setenv("SVC_ROUTER_IDLE_MS", "300", 1);  // the router leaves soon after the test
  test_support::ArgVector args({"test_vc_service", "-sr_dir", DIFFVIEW_BIN, "-sr_private"});
  ASSERT_TRUE(ServiceRouter_Proxy::startup(false, &args.argc, args.argv(), nullptr, true,
                                           nullptr, true, true));
  auto* c = new VersionControl_client_Impl;
  bool found = false, accepted = false;
  ASSERT_TRUE(ServiceRouter_Proxy::getServiceConnection("VersionControl.KVC", c, &found,
                                                        &accepted, nullptr));
  const std::string file = dir.write("a b.txt", "one\n");
  STPOwnedString error, text;
  int result = -1;
  ASSERT_TRUE(c->send_FileIsUnderVC(file.c_str(), &result, error.out()));
  EXPECT_EQ(result, 0);
  ASSERT_TRUE(c->send_PlaceFileUnderVC(file.c_str(), 0, "first", error.out()));
  EXPECT_EQ(str(error), "");
  dir.write("a b.txt", "two\n");
  ASSERT_TRUE(c->send_CheckInFile(file.c_str(), "second", text.out(), error.out()));
  EXPECT_EQ(str(text), "2") << str(error);
  ASSERT_TRUE(c->send_GetPreviousVersionForFile(file.c_str(), "2", text.out(), error.out()));
  EXPECT_EQ(str(text), "1");
  const std::string copy = dir / "copy";
  ASSERT_TRUE(c->send_RestoreFileToVersion(file.c_str(), copy.c_str(), "1", 0, error.out()));
  EXPECT_EQ(test_support::readFile(copy), "one\n");
  History_Info h;
  ASSERT_TRUE(c->send_ShowHistory(file.c_str(), &h, error.out()));
  ASSERT_EQ(h.items.size(), 2u);
  EXPECT_EQ(h.items[1].comments, "first");
  ASSERT_TRUE(c->send_RestoreFileToVersion(file.c_str(), copy.c_str(), "9", 0, error.out()));
  EXPECT_EQ(str(error), "no version 9 in " + dir / "kvc.log/a b.txt" + " (versions 1 to 2)");
  ASSERT_TRUE(c->send_CheckOutFile("", file.c_str(), error.out()));
  EXPECT_EQ(str(error), "CheckOutFile is not supported for KVC");
  // Plain "VersionControl" tells the system by the file.
  auto* any = new VersionControl_client_Impl;
  ASSERT_TRUE(ServiceRouter_Proxy::getServiceConnection("VersionControl", any, &found,
                                                        &accepted, nullptr));
  ASSERT_TRUE(any->send_GetNextVersionForFile(file.c_str(), "1", text.out(), error.out()));
  EXPECT_EQ(str(text), "2") << str(error);
  ServiceRouter_Proxy::dropServiceConnection(any, nullptr, true);
  any->delRef();
  ServiceRouter_Proxy::dropServiceConnection(c, nullptr, true);
  c->delRef();
  ServiceRouter_Proxy::shutdown(true);
}

}  // namespace
