// The declared structures against the C header, for x64 and x86: sizes and
// offsets are computed from the declarations (C's rules with 8- and 4-byte
// pointers) and put to the C compiler as static assertions over
// LibVestra.h. Catches a field declared with the wrong type, width or order,
// a missing field, and a record that is right on one bitness only.
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Text;
using Vestra.Native;
using Xunit;

namespace Vestra.Tests
{
    public class LayoutTests
    {
        private static readonly Type[] Records = typeof(Constants).Assembly.GetTypes()
            .Where(t => t.Namespace == "Vestra.Native" && t.IsValueType && !t.IsEnum && t.IsPublic).ToArray();

        private static readonly Dictionary<Type, int> Numbers = new Dictionary<Type, int>
        {
            [typeof(int)] = 4, [typeof(uint)] = 4, [typeof(ushort)] = 2, [typeof(byte)] = 1,
        };

        private static IEnumerable<FieldInfo> Fields(Type record) =>
            record.GetFields(BindingFlags.Public | BindingFlags.Instance).OrderBy(f => f.MetadataToken);

        /// <summary>Size and alignment of a field's type under C's rules.</summary>
        private static (int Size, int Align) Measure(Type type, FieldInfo? field, int pointer)
        {
            if (type == typeof(IntPtr) || type == typeof(UIntPtr))
                return (pointer, pointer);
            if (type.IsArray)
            {
                var count = field!.GetCustomAttribute<MarshalAsAttribute>()!.SizeConst;
                var (size, align) = Measure(type.GetElementType()!, null, pointer);
                return (size * count, align);
            }
            if (Numbers.TryGetValue(type, out var n))
                return (n, n);
            var layout = Layout(type, pointer);
            return (layout.Size, layout.Align);
        }

        /// <summary>Each field's offset, the record's size and alignment.</summary>
        private static (Dictionary<string, int> Offsets, int Size, int Align) Layout(Type record, int pointer)
        {
            var offsets = new Dictionary<string, int>();
            int offset = 0, maxAlign = 1;
            foreach (var field in Fields(record))
            {
                var (size, align) = Measure(field.FieldType, field, pointer);
                offset = (offset + align - 1) / align * align;
                offsets[field.Name] = offset;
                offset += size;
                maxAlign = Math.Max(maxAlign, align);
            }
            return (offsets, (offset + maxAlign - 1) / maxAlign * maxAlign, maxAlign);
        }

        [Fact]
        public void EveryHeaderRecordIsDeclared()
        {
            Assert.Equal(new[] { "DevListInfo", "DevModel", "TimeZoneCity", "TimeZoneCountry", "TimeZoneRegion", "UmsIniCmd",
                                 "UmsIniItem", "VestraInfo", "ZFYInfo" },
                         Records.Select(t => t.Name).OrderBy(n => n, StringComparer.Ordinal));
        }

        [Fact]
        public void TheCalculationIsTheRuntimesOwnOnThisProcess()
        {
            // The x86 figures below are only as good as the calculation: on
            // this (64-bit) process it must give the marshaller's layout.
            Assert.Equal(8, IntPtr.Size);
            foreach (var record in Records)
            {
                var layout = Layout(record, IntPtr.Size);
                Assert.Equal(Marshal.SizeOf(record), layout.Size);
                foreach (var field in Fields(record))
                    Assert.Equal((int)Marshal.OffsetOf(record, field.Name), layout.Offsets[field.Name]);
            }
        }

        [Theory]
        [InlineData("-m64", 8)]
        [InlineData("-m32", 4)]
        public void DeclarationsMatchTheHeader(string bitness, int pointer)
        {
            var check = new StringBuilder("#include <stddef.h>\n#include \"LibVestra.h\"\n");
            check.Append($"_Static_assert(sizeof(void *) == {pointer}, \"pointer size\");\n");
            foreach (var record in Records)
            {
                var layout = Layout(record, pointer);
                check.Append($"_Static_assert(sizeof({record.Name}) == {layout.Size}, \"sizeof {record.Name}\");\n");
                foreach (var (field, offset) in layout.Offsets)
                    check.Append($"_Static_assert(offsetof({record.Name}, {field}) == {offset}, \"{record.Name}.{field}\");\n");
            }
            var folder = Path.Combine(Path.GetTempPath(), "vestra-layout-" + Guid.NewGuid().ToString("N"));
            Directory.CreateDirectory(folder);
            try
            {
                var source = Path.Combine(folder, "layout.c");
                File.WriteAllText(source, check.ToString());
                var include = Environment.GetEnvironmentVariable("VESTRA_INCLUDE") ?? throw new InvalidOperationException("VESTRA_INCLUDE is not set");
                // Freestanding: the compiler's own stdint.h, so that no 32-bit C library is needed.
                var start = new ProcessStartInfo("cc") { RedirectStandardError = true, UseShellExecute = false };
                foreach (var arg in new[] { bitness, "-ffreestanding", "-fsyntax-only", "-I", include, source })
                    start.ArgumentList.Add(arg);
                using var cc = Process.Start(start)!;
                var errors = cc.StandardError.ReadToEnd();
                cc.WaitForExit();
                Assert.True(cc.ExitCode == 0, errors);
            }
            finally
            {
                Directory.Delete(folder, true);
            }
        }
    }
}
