// The driver handle and its two requests, against the substitute FARLINE.VXD in the test prefix.
#include <gtest/gtest.h>
#include "FarlineDriver.h"
#include "driver/RedirectorDriver.h"

namespace {

class RedirectorDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FarlineDriver::Start()) << "the substitute driver is not installed in this prefix";
        FarlineDriver::Reset();
    }
    void TearDown() override { FarlineDriver::Start(); }
};

TEST_F(RedirectorDriver, OpensTheDeviceOnceAndClosesItWhenItGoes)
{
    {
        CRedirectorDriver driver;
        EXPECT_FALSE(driver.IsOpen());
        ASSERT_EQ(driver.Open(), 0u);
        EXPECT_TRUE(driver.IsOpen());
        EXPECT_EQ(FarlineDriver::WaitForOpens(1), 1u);
        EXPECT_EQ(FarlineDriver::Closes(), 0u);
        // No sharing, and the handle deletes on close (how a dynamically loaded driver is held).
        EXPECT_EQ(FarlineDriver::OpenShare(), 0u);
        EXPECT_NE(FarlineDriver::OpenOptions() & 0x1000u, 0u) << std::hex << FarlineDriver::OpenOptions();
        driver.Close();
        EXPECT_FALSE(driver.IsOpen());
        FarlineDriver::Settle();
        EXPECT_EQ(FarlineDriver::Closes(), 1u);
        driver.Close();  // closing a closed driver does nothing
        ASSERT_EQ(driver.Open(), 0u);
    }
    // The second handle went with the object.
    EXPECT_EQ(FarlineDriver::WaitForOpens(2), 2u);
    FarlineDriver::Settle();
    EXPECT_EQ(FarlineDriver::Closes(), 2u);
}

TEST_F(RedirectorDriver, RequestsReturnTheDriversResults)
{
    struct Case {
        LONG reconfigure;
        LONG portsInUse;
    } cases[] = {{0, 0}, {0, 1}, {5, 0}, {-3, 7}, {0x7FFFFFFF, -1}};
    CRedirectorDriver driver;
    ASSERT_EQ(driver.Open(), 0u);
    // With nothing set the driver answers 0 to both.
    EXPECT_EQ(driver.PortsInUse(), 0);
    EXPECT_EQ(driver.Reconfigure(), 0);
    for (const Case& c : cases) {
        FarlineDriver::SetAnswer(FARLINE_REQUEST_RECONFIGURE, c.reconfigure);
        FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, c.portsInUse);
        EXPECT_EQ(driver.PortsInUse(), c.portsInUse);
        EXPECT_EQ(driver.Reconfigure(), c.reconfigure);
    }
    // Each request is the raw code, without input, with room for the 8-byte answer.
    EXPECT_EQ(FarlineDriver::Requests(), "2,1,2,1,2,1,2,1,2,1,2,1");
    EXPECT_EQ(FarlineDriver::InputLength(), 0u);
    EXPECT_EQ(FarlineDriver::OutputLength(), 8u);
}

TEST_F(RedirectorDriver, FailedRequestsAndAClosedHandle)
{
    CRedirectorDriver driver;
    // Closed: both answer -1 without asking the driver.
    EXPECT_EQ(driver.Reconfigure(), -1);
    EXPECT_EQ(driver.PortsInUse(), -1);
    EXPECT_EQ(FarlineDriver::Requests(), "");

    ASSERT_EQ(driver.Open(), 0u);
    FarlineDriver::SetAnswer(FARLINE_REQUEST_RECONFIGURE, 0);
    FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, 1);
    FarlineDriver::SetFailing(FARLINE_REQUEST_RECONFIGURE, true);
    FarlineDriver::SetFailing(FARLINE_REQUEST_PORTS_IN_USE, true);
    // A reconfiguration that did not succeed reads -1; a question that did not succeed counts as
    // no port in use, whatever the driver would have said.
    EXPECT_EQ(driver.Reconfigure(), -1);
    EXPECT_EQ(driver.PortsInUse(), 0);
    EXPECT_EQ(FarlineDriver::Requests(), "1,2");
}

TEST_F(RedirectorDriver, AMissingDriverGivesTheSystemError)
{
    ASSERT_TRUE(FarlineDriver::Stop());
    CRedirectorDriver driver;
    EXPECT_EQ(driver.Open(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_EQ(driver.Reconfigure(), -1);
    EXPECT_EQ(driver.PortsInUse(), -1);
    ASSERT_TRUE(FarlineDriver::Start());
    EXPECT_EQ(driver.Open(), 0u);
}

}  // namespace
