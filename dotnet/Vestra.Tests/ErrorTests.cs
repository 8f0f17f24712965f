// Failures reach .NET with their status, text, reply and command; special
// statuses come back as values; released, collected and unplugged records
// fail cleanly or log out as they should (seen from the device side).
using System;
using System.Linq;
using System.Runtime.CompilerServices;
using System.Security.Cryptography;
using System.Text;
using Vestra.Native;
using Xunit;
using static Vestra.Tests.Support;

namespace Vestra.Tests
{
    [TestCaseOrderer("Vestra.Tests.StepOrderer", "Vestra.Tests")]
    public class ErrorTests
    {
        [Fact]
        public void RefusedOperationCarriesStatusReplyAndCommand()
        {
            using var rec = Recorder.OpenByIdCode("3400201", Password);
            var error = Assert.Throws<VestraException>(() => rec.SlaveVEInfo);
            Assert.Equal(Constants.VX_STATUS_FAILED, error.Status);
            Assert.StartsWith("Error: encoder busy", error.Reply);
            Assert.Equal("VX+SVEINFO?\r\n", error.Command);
            Assert.Equal("GetSlaveVEInfo", error.Operation);
        }

        [Fact]
        public void SpecialStatusIsReturnedNotRaised()
        {
            using var rec = Recorder.OpenByIdCode("3400201", Password);
            Assert.Equal(Constants.VX_STATUS_AP_NOT_SELECTED, rec.SetSelAp("Nowhere"));
            Assert.Equal(Constants.VX_STATUS_AP_NOT_SELECTED, rec.Status);
        }

        [Fact]
        public void WrongPasswordIsARefusedLoginWithItsDigestMasked()
        {
            // The login line's digest opens the recorder: an exception that
            // carried it would put it in every host's log.
            using var rec = Recorder.Open("VX006", "not-it");
            var error = Assert.Throws<VestraException>(() => rec.DevName);
            Assert.Equal(Constants.VX_STATUS_NO_LOGIN, error.Status);
            var digest = string.Concat(MD5.HashData(Encoding.UTF8.GetBytes("not-it")).Select(b => b.ToString("X2")));
            Assert.Contains(digest, Encoding.ASCII.GetString(rec.Info.lastCmd!));  // the record did send it
            Assert.Equal("VX+LOGIN=admin:" + new string('*', 32) + "\r\n", error.Command);
            Assert.DoesNotContain(digest, error.ToString());
        }

        // Faults: a secret shown, a mask of another length, the user or access
        // point name or the line end eaten by the mask.
        [Theory]
        [InlineData("VX+LOGINPWD=s3cret:pw\r\n", "VX+LOGINPWD=*********\r\n")]
        [InlineData("VX+USER=bob:0123:4567\r\n", "VX+USER=bob:*********\r\n")]
        [InlineData("VX+APADD=home:wifi:key\r\n", "VX+APADD=home:********\r\n")]
        [InlineData("VX+DEVNAME=admin:x\r\n", "VX+DEVNAME=admin:x\r\n")]
        public void CommandShowsSecretsMasked(string sent, string shown)
        {
            Assert.Equal(shown, new VestraException(0, "", sent).Command);
        }

        [Fact]
        public void NoSuchRecorder()
        {
            var error = Assert.Throws<VestraException>(() => Recorder.OpenByIdCode("9999999", Password));
            Assert.Equal(Constants.VX_STATUS_NOT_OPEN, error.Status);
            Assert.Equal("OpenByIdCode", error.Operation);
        }

        [Fact]
        public void DisposedRecordRaisesInsteadOfReachingTheLibrary()
        {
            var rec = Recorder.OpenByIdCode("3400201", Password);
            _ = rec.DevName;
            rec.Dispose();
            Assert.True(rec.IsDisposed);
            var error = Assert.Throws<VestraException>(() => rec.DevName = "after dispose");
            Assert.Equal(Constants.VX_STATUS_NOT_OPEN, error.Status);
            rec.Dispose();  // a second dispose is harmless
        }

        [Fact]
        public void DisposeLogsOut()
        {
            using (var rec = Recorder.OpenByIdCode("3400201", Password))
            {
                _ = rec.DevName;
                Assert.True(DeviceLoggedIn("3400201"));
            }
            Assert.False(DeviceLoggedIn("3400201"));
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void UseAndForget()
        {
            var rec = Recorder.OpenByIdCode("3400201", Password);
            _ = rec.DevName;
        }

        [Fact]
        public void FinalizedRecorderStillLogsOut()
        {
            UseAndForget();
            Assert.True(DeviceLoggedIn("3400201"));
            GC.Collect();
            GC.WaitForPendingFinalizers();
            Assert.False(DeviceLoggedIn("3400201"));
        }

        [Fact]
        [Step(Number = 1)]  // last: the recorder leaves the bus once its power-off reply is read
        public void UnpluggedRecorderFailsThenReportsNotOpen()
        {
            DeviceList.Update();
            var index = DeviceList.Devices.Single(d => d.IdCode == "3400203").Index;
            using var rec = Recorder.FromList(index, Password);
            rec.CtrlPowerOff();
            var first = Assert.Throws<VestraException>(() => rec.DevName);
            Assert.Equal(Constants.VX_STATUS_FAILED, first.Status);
            Assert.Equal("", first.Reply);
            var then = Assert.Throws<VestraException>(() => rec.DevName);
            Assert.Equal(Constants.VX_STATUS_NOT_OPEN, then.Status);
            Assert.Equal("Device not Open", then.Text);
        }
    }
}
