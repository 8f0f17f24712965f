// Recording decryption on an ffmpeg-made AVI encrypted by the test encryptor,
// single frames over byte[] and Span, and the time-zone catalogue. Catches
// wrong path/key marshalling (a non-ASCII path included), a failure not
// raised, a frame decrypted outside its window, and a mis-declared catalogue
// layout.
using System;
using System.Diagnostics;
using System.IO;
using System.Linq;
using Xunit;

namespace Vestra.Tests
{
    public sealed class Recordings : IDisposable
    {
        public const string Key = "k3y-cs";
        public readonly string Folder = Path.Combine(Path.GetTempPath(), "vestra-cs-" + Guid.NewGuid().ToString("N"));

        public Recordings()
        {
            Directory.CreateDirectory(Folder);
            Plain = Path.Combine(Folder, "plain.avi");
            Encrypted = Path.Combine(Folder, "encrypted é ü.avi");
            Run("ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25", "-t", "1",
                "-c:v", "libx264", "-g", "10", "-pix_fmt", "yuv420p", Plain);
            var bin = Environment.GetEnvironmentVariable("VESTRA_TEST_BIN") ?? throw new InvalidOperationException("VESTRA_TEST_BIN is not set");
            Run(Path.Combine(bin, "avi_encrypt"), Plain, Encrypted, Key);
        }

        public string Plain { get; }
        public string Encrypted { get; }

        private static void Run(string program, params string[] args)
        {
            var start = new ProcessStartInfo(program) { RedirectStandardOutput = true, UseShellExecute = false };
            foreach (var arg in args)
                start.ArgumentList.Add(arg);
            using var process = Process.Start(start)!;
            process.StandardOutput.ReadToEnd();
            process.WaitForExit();
            Assert.Equal(0, process.ExitCode);
        }

        public void Dispose() => Directory.Delete(Folder, true);
    }

    public class MediaTests : IClassFixture<Recordings>
    {
        private readonly Recordings files;

        public MediaTests(Recordings files) => this.files = files;

        [Fact]
        public void DecryptRestoresTheRecordingByteForByte()
        {
            var output = Path.Combine(files.Folder, "out ß.avi");
            var before = File.ReadAllBytes(files.Encrypted);
            Recording.Decrypt(files.Encrypted, output, Recordings.Key);
            Assert.Equal(File.ReadAllBytes(files.Plain), File.ReadAllBytes(output));
            Assert.Equal(before, File.ReadAllBytes(files.Encrypted));
        }

        [Fact]
        public void PlainRecordingRaises()
        {
            var error = Assert.Throws<VestraException>(() =>
                Recording.Decrypt(files.Plain, Path.Combine(files.Folder, "copy.avi"), Recordings.Key));
            Assert.Equal("Decrypt", error.Operation);
        }

        /// <summary>The data of the first H.264 key frame chunk ("00dc", starting with an SPS), and where it is.</summary>
        private static (int Offset, int Length) FirstKeyFrame(byte[] avi)
        {
            for (var i = 0; i + 13 < avi.Length; ++i)
                if (avi[i] == '0' && avi[i + 1] == '0' && avi[i + 2] == 'd' && avi[i + 3] == 'c' &&
                    avi.Skip(i + 8).Take(5).SequenceEqual(new byte[] { 0, 0, 0, 1, 0x67 }))
                    return (i + 8, BitConverter.ToInt32(avi, i + 4));
            throw new InvalidOperationException("no key frame");
        }

        [Fact]
        public void FrameDecryptsOverArrayAndSpan()
        {
            var plain = File.ReadAllBytes(files.Plain);
            var encrypted = File.ReadAllBytes(files.Encrypted);
            var (offset, length) = FirstKeyFrame(plain);
            var expected = plain.AsSpan(offset, length).ToArray();
            var frame = encrypted.AsSpan(offset, length).ToArray();
            Assert.NotEqual(expected, frame);  // the window is encrypted

            Assert.Equal(expected, Recording.DecryptFrame(frame, Recordings.Key));
            Recording.DecryptFrame(frame, frame, Recordings.Key);  // in place, over spans
            Assert.Equal(expected, frame);

            Assert.Throws<ArgumentException>(() => Recording.DecryptFrame(frame, new byte[length - 1], Recordings.Key));
            Assert.Throws<VestraException>(() => Recording.DecryptFrame(new byte[300], Recordings.Key));  // no codec start
        }

        [Fact]
        public void TimeZoneLookupsAgree()
        {
            var zones = TimeZones.All;
            Assert.Equal(415, zones.Count);
            foreach (var zone in zones)
            {
                var found = TimeZones.Find(zone.Name)!;
                // The first match in catalogue order wins (a zone may be listed under two countries).
                Assert.True((found.Region, found.Country, found.City).CompareTo((zone.Region, zone.Country, zone.City)) <= 0);
                Assert.EndsWith("/" + zone.Name, TimeZones.Name(found.Region, found.Country, found.City));
            }
            var kolkata = TimeZones.Find("Asia/Kolkata")!;
            Assert.Equal("IN/Asia/Kolkata", TimeZones.Name(kolkata.Region, kolkata.Country, kolkata.City));
            Assert.Equal("CN/Asia/Shanghai", TimeZones.Name(0, 9, 0));
            Assert.Null(TimeZones.Find("Nowhere/Atlantis"));
            Assert.Throws<ArgumentOutOfRangeException>(() => TimeZones.Name(99, 0, 0));
        }
    }
}
