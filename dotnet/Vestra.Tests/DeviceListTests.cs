// The device list and its hot-plug events. The bus loads its scenario when the
// fixture starts the monitor, so the late recorder plugs 300 ms later; the
// last step unplugs it by powering it off. Catches a callback delegate the
// collector took (the library would call freed code), events raised on the
// library's refresh thread (which holds its lock), lost events, and a wrong
// list layout.
using System;
using System.Collections.Concurrent;
using System.Linq;
using System.Threading;
using System.Threading.Tasks;
using Xunit;
using static Vestra.Tests.Support;

namespace Vestra.Tests
{
    public sealed class ListEvents : IDisposable
    {
        public readonly BlockingCollection<(string Event, int Count, string? Thread, int Listed)> Seen =
            new BlockingCollection<(string, int, string?, int)>();

        public ListEvents()
        {
            DeviceList.Changed += OnChanged;
            DeviceList.Arrived += OnArrived;
            DeviceList.Removed += OnRemoved;
            DeviceList.Start();
            for (var i = 0; i < 3; ++i)
            {
                // Whatever the binding does not hold is gone before the plug.
                GC.Collect();
                GC.WaitForPendingFinalizers();
            }
        }

        // Calls the library from the handler: on the refresh thread this could
        // wait for the lock that thread holds.
        private void OnChanged(object? sender, DeviceListChangedEventArgs args) =>
            Seen.Add(("changed", args.Count, Thread.CurrentThread.Name, DeviceList.Devices.Count));

        private void OnArrived(object? sender, EventArgs args) => Seen.Add(("arrived", 0, Thread.CurrentThread.Name, -1));

        private void OnRemoved(object? sender, EventArgs args) => Seen.Add(("removed", 0, Thread.CurrentThread.Name, -1));

        public (string Event, int Count, string? Thread, int Listed) Next(Func<(string Event, int Count, string? Thread, int Listed), bool> match)
        {
            while (Seen.TryTake(out var item, Bound))
                if (match(item))
                    return item;
            throw new TimeoutException("no such list event");
        }

        public void Dispose()
        {
            DeviceList.Changed -= OnChanged;
            DeviceList.Arrived -= OnArrived;
            DeviceList.Removed -= OnRemoved;
        }
    }

    [TestCaseOrderer("Vestra.Tests.StepOrderer", "Vestra.Tests")]
    public class DeviceListTests : IClassFixture<ListEvents>
    {
        private readonly ListEvents events;

        public DeviceListTests(ListEvents events) => this.events = events;

        [Fact]
        [Step(Number = 1)]
        public void PlugIsRaisedOnTheBindingsThreadAfterCollections()
        {
            var changed = events.Next(e => e.Event == "changed" && e.Count == 2);
            Assert.Equal("Vestra device events", changed.Thread);
            Assert.Equal(2, changed.Listed);
            // The device events of the refreshes (the first refresh reports a removal, the plug an arrival,
            // unless one refresh took both): on the same thread.
            Assert.Equal("Vestra device events", events.Next(e => e.Event != "changed").Thread);
        }

        [Fact]
        [Step(Number = 2)]
        public void SnapshotListsBothRecorders()
        {
            var listed = DeviceList.Devices.ToDictionary(d => d.IdCode);
            Assert.Equal(new[] { "3400301", "3400302" }, listed.Keys.OrderBy(k => k));
            var (resident, late) = (listed["3400301"], listed["3400302"]);
            Assert.Equal(("RES001", 1), (resident.Serial, resident.UdiskStatus));
            Assert.Equal(("LATE02", 0), (late.Serial, late.UdiskStatus));
            Assert.Equal(resident.VendorId, late.VendorId);
            Assert.NotEqual(resident.ProductId, late.ProductId);
            Assert.NotEqual(resident.Index, late.Index);
        }

        [Fact]
        [Step(Number = 3)]
        public async Task UnplugCompletesTheWaitingTask()
        {
            var late = DeviceList.Devices.Single(d => d.IdCode == "3400302");
            var change = DeviceList.WaitForChangeAsync(Bound);
            using (var rec = Recorder.FromList(late.Index, Password))
                rec.CtrlPowerOff();
            Assert.Equal(1, await change);
            Assert.Equal(new[] { "3400301" }, DeviceList.Devices.Select(d => d.IdCode));
            Assert.Equal(1, events.Next(e => e.Event == "changed").Listed);
        }

        [Fact]
        [Step(Number = 4)]
        public void WaitForChangeGivesNullWhenNothingChanges()
        {
            // Nothing is due: a wait that returned a stale count would not be null.
            Assert.Null(DeviceList.WaitForChange(TimeSpan.FromMilliseconds(200)));
        }
    }
}
