// The registration file and its lock as tools and the router share them:
// names, the zone digest and display id, the file's contents and the
// rules by which a file is trusted, and the lock's wait and break.
#include "services/sr_registration.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "test_support.h"

namespace {

using test_support::ScratchDir;

// Points TMPDIR at a scratch directory for the test's lifetime.
class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = getenv("TMPDIR");
    saved_ = old ? old : "";
    setenv("TMPDIR", dir_.path().c_str(), 1);
  }
  void TearDown() override { setenv("TMPDIR", saved_.c_str(), 1); }
  ScratchDir dir_;
  std::string saved_;
};

std::string withDisplay(const char* value) {
  if (value) setenv("DISPLAY", value, 1); else unsetenv("DISPLAY");
  return sr_display_id("");
}

TEST_F(RegistrationTest, NamesZoneAndDisplayId) {
  EXPECT_EQ(sr_registration_path("z1"), dir_ / "svc_z1");
  EXPECT_EQ(sr_registration_path(""), dir_ / "svc");
  EXPECT_EQ(sr_lock_path(dir_ / "svc_z1"), dir_ / "svc_z1.lock");
  setenv("TMPDIR", (dir_ / "missing").c_str(), 1);
  EXPECT_NE(sr_registration_path("z"), dir_ / "missing/svc_z");

  const unsigned char bytes[16] = {0x12, 0xab, 0x0f, 0xf0};
  EXPECT_EQ(sr_digest_hex(bytes), "21ba" "f00f" + std::string(24, '0'));

  char host[256] = {};
  gethostname(host, sizeof host - 1);
  const std::string h = host;
  for (const char* v : {static_cast<const char*>(nullptr), "", ":0", ":0.0"})
    EXPECT_EQ(withDisplay(v), "DISP" + h + ":0.0");
  EXPECT_EQ(withDisplay((h + ":0").c_str()), "DISP" + h + ":0.0");
  EXPECT_EQ(withDisplay(":12.1"), "DISP" + h + ":12.1");
  EXPECT_EQ(withDisplay("far:3"), "DISPfar:3");
  EXPECT_EQ(withDisplay(":1x"), "DISP:1x");
  EXPECT_EQ(sr_display_id("given:7"), "given:7");

  const std::string zone = sr_default_zone(dir_.path(), "DISPa:0.0");
  EXPECT_EQ(zone.size(), 32u);
  EXPECT_EQ(zone.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(zone, sr_default_zone(dir_.path(), "DISPa:0.0"));
  EXPECT_NE(zone, sr_default_zone(dir_.path(), "DISPb:0.0"));
  dir_.write("servicerouter", "");
  EXPECT_NE(zone, sr_default_zone(dir_.path(), "DISPa:0.0"));
}

TEST_F(RegistrationTest, WrittenPrivatelyAndReadOnlyWhenTrustedAndAlive) {
  const std::string path = sr_registration_path("z");
  const std::string target = dir_.write("target", "keep");
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
  int port = 0, pid = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(sr_read_registration(path, &port, &pid), SRRegistrationState::untrusted);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);

  std::string error;
  ASSERT_TRUE(sr_write_registration(path, 4321, getpid(), &error)) << error;
  EXPECT_EQ(test_support::readFile(target), "keep");  // the link was replaced, not followed
  struct stat info;
  ASSERT_EQ(lstat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_NE(test_support::readFile(path).find("Service Router"), std::string::npos);
  ASSERT_EQ(sr_read_registration(path, &port, &pid), SRRegistrationState::valid);
  EXPECT_EQ(port, 4321);
  EXPECT_EQ(pid, getpid());
  EXPECT_EQ(dir_.entries().size(), 2u);  // no temporary left behind

  chmod(path.c_str(), 0620);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sr_read_registration(path, &port, &pid), SRRegistrationState::untrusted);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("warning: "), std::string::npos);
  chmod(path.c_str(), 0600);

  const pid_t child = fork();
  if (child == 0) _exit(0);
  test_support::waitProgram(child);
  ASSERT_TRUE(sr_write_registration(path, 4321, child, &error));
  EXPECT_EQ(sr_read_registration(path, &port, &pid), SRRegistrationState::absent);
  EXPECT_FALSE(sr_remove_own_registration(path, getpid()));
  EXPECT_TRUE(sr_remove_own_registration(path, child));
  EXPECT_EQ(access(path.c_str(), F_OK), -1);

  dir_.write("svc_z", "\"Service Router\" { Port = 4321 }\n");
  chmod(path.c_str(), 0600);
  EXPECT_EQ(sr_read_registration(path, &port, &pid), SRRegistrationState::absent);
}

TEST_F(RegistrationTest, AnotherUsersFileIsIgnoredWithAWarning) {
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() != 0 || !nobody) GTEST_SKIP() << "needs root to give a file to nobody";
  const std::string path = sr_registration_path("other");
  std::string error;
  ASSERT_TRUE(sr_write_registration(path, 4321, getpid(), &error));
  ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  int port = 0, pid = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(sr_read_registration(path, &port, &pid), SRRegistrationState::untrusted);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("another user"), std::string::npos);

  const std::string lock = dir_.write("svc_other.lock", "1\n");
  ASSERT_EQ(chown(lock.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sr_lock_registration(path, 200), SRLockResult::untrusted);
  testing::internal::GetCapturedStderr();
}

TEST_F(RegistrationTest, LockWaitsThenBreaksAStaleLock) {
  const std::string path = sr_registration_path("z");
  {
    SRRegistrationLock first(path);
    ASSERT_TRUE(first.locked());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sr_lock_registration(path, 300), SRLockResult::timedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  }
  EXPECT_EQ(access(sr_lock_path(path).c_str(), F_OK), -1);

  const std::string lock = dir_.write("svc_z.lock", "1\n");
  chmod(lock.c_str(), 0600);
  timeval old[2] = {{time(nullptr) - 61, 0}, {time(nullptr) - 61, 0}};
  ASSERT_EQ(utimes(lock.c_str(), old), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sr_lock_registration(path, 0), SRLockResult::locked);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "warning: Breaking lock on file " + lock + " because it is more than 60 seconds old.\n"),
            std::string::npos);
  sr_unlock_registration(path);

  ASSERT_EQ(symlink((dir_ / "elsewhere").c_str(), lock.c_str()), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sr_lock_registration(path, 0), SRLockResult::untrusted);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(access((dir_ / "elsewhere").c_str(), F_OK), -1);
}

}  // namespace
