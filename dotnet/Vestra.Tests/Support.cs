using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Runtime.InteropServices;
using System.Text.Json;
using Vestra;
using Vestra.Native;
using Xunit;
using Xunit.Abstractions;
using Xunit.Sdk;

[assembly: CollectionBehavior(DisableTestParallelization = true)]

namespace Vestra.Tests
{
    /// <summary>What the tests share: the scenario the virtual bus runs, texts of results, the record's fields.</summary>
    internal static class Support
    {
        public const string Password = "888888";  // the virtual recorders' default account
        public static readonly TimeSpan Bound = TimeSpan.FromSeconds(20);  // an upper bound on a refresh, never a sleep

        public static JsonElement Scenario
        {
            get
            {
                var path = Environment.GetEnvironmentVariable("VSIM_SCENARIO");
                Assert.False(string.IsNullOrEmpty(path), "VSIM_SCENARIO is not set: run the class through ctest");
                return JsonDocument.Parse(File.ReadAllText(path!)).RootElement;
            }
        }

        public static JsonElement DeviceSpec(string name) =>
            Scenario.GetProperty("devices").EnumerateArray().First(d => d.GetProperty("name").GetString() == name);

        public static string Text(JsonElement value) =>
            value.ValueKind == JsonValueKind.String ? value.GetString()! : value.GetRawText();

        /// <summary>A result as texts: a record gives its fields in order, anything else itself.</summary>
        public static List<string> Flatten(object? value)
        {
            if (value == null)
                return new List<string>();
            var type = value.GetType();
            if (value is string || type.IsPrimitive)
                return new List<string> { Convert.ToString(value, System.Globalization.CultureInfo.InvariantCulture)! };
            var fields = type.GetConstructors().Single(c => c.GetParameters().Length > 0 &&
                                                            c.GetParameters()[0].ParameterType != type).GetParameters();
            return fields.SelectMany(p => Flatten(type.GetProperty(p.Name!)!.GetValue(value))).ToList();
        }

        public static int Offset(string field) => (int)Marshal.OffsetOf<VestraInfo>(field);

        /// <summary>Writes a field of the record, as a host may (the tests' way to set up a case).</summary>
        public static void WriteField(Recorder rec, string field, int value) =>
            Marshal.WriteInt32(rec.Handle.DangerousGetHandle(), Offset(field), value);

        /// <summary>Whether the recorder holds a login, asked by a record that skips its own.</summary>
        public static bool DeviceLoggedIn(string idCode)
        {
            using var peek = Recorder.OpenByIdCode(idCode, Password);
            WriteField(peek, nameof(VestraInfo.isLogin), 1);  // sent as if logged in: the device answers by its own state
            try
            {
                peek.Command("VX+DEVNAME?");
                return true;
            }
            catch (VestraException error)
            {
                Assert.Contains("not login", error.Text);
                return false;
            }
            finally
            {
                WriteField(peek, nameof(VestraInfo.isLogin), 0);
            }
        }
    }

    /// <summary>Orders a class's tests by their <see cref="StepAttribute"/>, for cases that build on each other.</summary>
    public sealed class StepOrderer : ITestCaseOrderer
    {
        public IEnumerable<TTestCase> OrderTestCases<TTestCase>(IEnumerable<TTestCase> testCases)
            where TTestCase : ITestCase =>
            testCases.OrderBy(c => c.TestMethod.Method.GetCustomAttributes(typeof(StepAttribute).AssemblyQualifiedName)
                                      .Select(a => a.GetNamedArgument<int>(nameof(StepAttribute.Number)))
                                      .FirstOrDefault());
    }

    [AttributeUsage(AttributeTargets.Method)]
    public sealed class StepAttribute : Attribute
    {
        public int Number { get; set; }
    }
}
