// Every operation of the generated table against a virtual recorder: each get
// returns the scenario's preset, each set reaches the device (the command on
// the wire and, where a get reads it back, the device's state). Catches a
// wrong declaration or output area, outputs read in the wrong order, a set
// that drops or reorders arguments, an operation the table lost, and texts
// that do not survive the round trip in the library's code page.
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;
using System.Security.Cryptography;
using System.Text;
using System.Text.Json;
using Vestra.Native;
using Xunit;
using static Vestra.Tests.Support;

namespace Vestra.Tests
{
    public sealed class Recorders : IDisposable
    {
        public Recorder Reader { get; } = Recorder.OpenByIdCode("3400101", Password);
        public Recorder Writer { get; } = Recorder.Open("VX006", Password);

        public void Dispose()
        {
            Reader.Dispose();
            Writer.Dispose();
        }
    }

    public class OperationTests : IClassFixture<Recorders>
    {
        private readonly Recorders recorders;

        public OperationTests(Recorders recorders) => this.recorders = recorders;

        public static IEnumerable<object[]> Gets =>
            Operations.All.Where(op => op.Form == OperationForm.Get).Select(op => new object[] { op.Function });

        public static IEnumerable<object[]> Sets =>
            Operations.All.Where(op => op.Form != OperationForm.Get).Select(op => new object[] { op.Function });

        // Arguments the device checks; anything else gets a generic value.
        private static readonly Dictionary<(string, string), object> Arguments = new Dictionary<(string, string), object>
        {
            [("MKFS", "fsType")] = 1,
            [("UMSINI", "text")] = "Video.FrameRate=25",
            [("UMSJSON", "text")] = "{\"Video\":{\"FrameRate\":\"25\"}}",
            [("APSEL", "ssid")] = "Known",
            [("APDEL", "ssid")] = "Known",
            [("BASE64", "data")] = new byte[] { 1, (byte)'c', (byte)'s', (byte)'-', (byte)'p', 0 },
            [("VIDEOOSD", "index")] = 1,
        };

        // How an argument appears in the command line where it is not sent as given.
        private static readonly Dictionary<string, Func<object, string>> Wire = new Dictionary<string, Func<object, string>>
        {
            ["fsType"] = v => (int)v == 1 ? "FAT32" : "EXFAT",
            ["password1"] = Digest,
            ["password2"] = Digest,
            ["data"] = v => Convert.ToBase64String((byte[])v),
        };

        private static string Digest(object text) =>
            string.Concat(MD5.HashData(Encoding.UTF8.GetBytes((string)text)).Select(b => b.ToString("X2")));

        private static MethodInfo Method(Operation op) =>
            typeof(Recorder).GetMethod(op.Method) ?? throw new InvalidOperationException($"no method {op.Method}");

        private static string LastCommand(Recorder rec) => AnsiText(rec.Info.lastCmd);

        private static string AnsiText(byte[]? area) =>
            Encoding.UTF8.GetString(area!, 0, Array.IndexOf(area!, (byte)0) is var n && n >= 0 ? n : area!.Length);

        private static object Invoke(Recorder rec, MethodInfo method, params object[] args)
        {
            try
            {
                return method.Invoke(rec, args)!;
            }
            catch (TargetInvocationException wrapped) when (wrapped.InnerException != null)
            {
                throw wrapped.InnerException;
            }
        }

        /// <summary>What a get should return, from the reader's scenario entry.</summary>
        private static List<string> Preset(JsonElement device, Operation op, int outputs, bool record)
        {
            var kw = op.Keyword;
            if (op.Rule == "keyed_list")
            {
                var svc = device.GetProperty("services").GetProperty(kw);
                var fields = new[] { "bEnable" }.Concat(op.ServiceFields).Select(f => Text(svc.GetProperty(f))).ToList();
                if (outputs == fields.Count + 1)
                    fields.Add(Text(svc.GetProperty("ReportTime")));
                return fields;
            }
            if (kw == "APLIST")
                return new List<string>
                {
                    string.Join(",", device.GetProperty("access_points").EnumerateArray().Select(a => a.GetProperty("ssid").GetString())),
                };
            if (kw == "APSEL")
                return new List<string> { device.GetProperty("selected_ap").GetString()! };
            var values = device.GetProperty("values");
            if (op.Rule == "osd")
                return values.GetProperty(kw + "1").GetString()!.Split(new[] { ',' }, 2).ToList();
            Assert.True(values.TryGetProperty(kw, out var preset), $"the scenario has no preset for {kw}");
            var parts = preset.GetString()!.Split(',').ToList();
            if (outputs == 1 && !record)
                return new List<string> { op.Rule == "field_list" ? parts[0] : preset.GetString()! };
            if (outputs == parts.Count + 1)  // "WxH" fills two outputs
                parts = parts[0].Split('x').Concat(parts.Skip(1)).ToList();
            return parts;
        }

        [Fact]
        public void TableCoversTheRowsOperations()
        {
            // A row the generator lost would leave its operation out of the binding.
            var keywords = Operations.All.Select(op => op.Keyword).ToHashSet();
            Assert.True(Operations.All.Count >= 70);
            Assert.Subset(keywords, new HashSet<string> { "DEVNAME", "GBCFG", "GPSSERVCFG", "VIDEOOSD", "BASE64", "UMSJSON", "LOGEXPORT" });
            Assert.All(Operations.All, op => Method(op));
            Assert.Same(Operations.Find("VX_GetDevName"), Operations.Find("GetDevName"));
        }

        [Theory]
        [MemberData(nameof(Gets))]
        public void GetReturnsThePreset(string function)
        {
            var op = Operations.Find(function)!;
            var rec = recorders.Reader;
            if (op.Keyword == "BATVAL")
                WriteField(rec, nameof(VestraInfo.lastBatteryQuery), -30000);  // asked "long ago": the 20 s window is open
            var method = Method(op);
            var value = Invoke(rec, method, op.Rule == "osd" ? new object[] { 1 } : Array.Empty<object>());
            var texts = Flatten(value);
            var record = !(value is string) && !value.GetType().IsPrimitive;
            Assert.Equal(Preset(DeviceSpec("reader"), op, texts.Count, record), texts);
            Assert.StartsWith($"VX+{op.Keyword}", LastCommand(rec));
        }

        [Theory]
        [MemberData(nameof(Sets))]
        public void SetReachesTheDevice(string function)
        {
            var op = Operations.Find(function)!;
            var rec = recorders.Writer;
            var method = Method(op);
            var args = new List<(string Name, object Value)>();
            foreach (var (p, i) in method.GetParameters().Select((p, i) => (p, i + 2)))
            {
                object value = Arguments.TryGetValue((op.Keyword, p.Name!), out var given) ? given
                    : p.ParameterType == typeof(string) ? $"cs{i}"
                    : p.ParameterType == typeof(ZfyInfo) ? new ZfyInfo("CS1", "u2", "n3", "o4", "m5")
                    : Convert.ChangeType(7 + i, p.ParameterType);
                args.Add((p.Name!, value));
            }
            if (op.Keyword == "APSEL" || op.Keyword == "APDEL")
                rec.AddAp("Known", "k-pw");
            var result = Invoke(rec, method, args.Select(a => a.Value).ToArray());
            Assert.Equal(Constants.VX_STATUS_OK, rec.Status);
            if (method.ReturnType == typeof(string))  // the configuration texts answer with the entries touched
                Assert.Equal(args.Single(a => a.Name == "text").Value, result);
            else
                Assert.Equal(Constants.VX_STATUS_OK, result);
            var wire = LastCommand(rec);
            var index = args.Where(a => a.Name == "index").Select(a => a.Value.ToString()).FirstOrDefault() ?? "";
            Assert.StartsWith($"VX+{op.Keyword}{index}" + (op.Form == OperationForm.Bare ? "\r\n" : "="), wire);
            foreach (var (name, value) in args)
                foreach (var text in Wire.TryGetValue(name, out var form) ? new List<string> { form(value) } : Flatten(value))
                    Assert.True(wire.Contains(text), $"{name}={text} not in {wire}");

            var getter = op.Method.StartsWith("Set") ? typeof(Recorder).GetMethod("Get" + op.Method.Substring(3)) : null;
            if (getter == null)
                return;
            var getArgs = args.Where(a => a.Name == "index").Select(a => a.Value).ToArray();
            var sent = args.Where(a => a.Name != "index").SelectMany(a => Flatten(a.Value)).ToList();
            var read = Flatten(Invoke(rec, getter, getArgs));
            if (read.Count == sent.Count)  // else the get reads other fields (the clock): the wire check stands
                Assert.Equal(sent, read);
        }

        [Fact]
        public void SetWithAProperty()
        {
            // A property's setter that passed its record's fields in another order would fail here.
            var rec = recorders.Writer;
            rec.ServAddr = new ServAddr("203.0.113.9", 9100);
            Assert.Equal(new ServAddr("203.0.113.9", 9100), rec.ServAddr);
            rec.DevName = "Named by property";
            Assert.StartsWith("+DEVNAME:Named by property", rec.Command("VX+DEVNAME?"));
        }

        [Theory]
        [InlineData("Caméra Ünit 7")]
        [InlineData("東京 unit ☆")]
        public void NonAsciiNameSurvivesTheRoundTrip(string name)
        {
            // Texts go out and come back in the library's code page (UTF-8 here):
            // a marshaller that narrowed to ASCII or Latin-1 would send '?' or
            // other bytes, and the device would give back another name.
            var rec = recorders.Writer;
            rec.SetDevName(name);
            var wire = rec.Info.lastCmd!;
            var expected = Encoding.UTF8.GetBytes($"VX+DEVNAME={name}\r\n");
            Assert.Equal(expected, wire.Take(expected.Length).ToArray());
            Assert.Equal(name, rec.GetDevName());
            Assert.Equal(name, rec.DevName);
        }
    }
}
