using System;

namespace Vestra
{
    /// <summary>An operation the library reported as failed.</summary>
    public sealed class VestraException : Exception
    {
        // The command lines that carry a password or a digest: what starts them
        // and how many leading ':' fields of the value are not secret (as the
        // library's log masks them).
        private static readonly (string Prefix, int Kept)[] SecretLines =
        {
            ("VX+LOGIN=", 1), ("VX+LOGINPWD=", 0), ("VX+USER=", 1), ("VX+RECVPWD=", 0), ("VX+APADD=", 1),
        };

        /// <summary>Creates the error of one operation.</summary>
        /// <param name="status">The record's status number.</param>
        /// <param name="text">The library's error text.</param>
        /// <param name="command">The last command line sent on the record (a password or digest in it is masked).</param>
        /// <param name="operation">The binding's name of what failed.</param>
        public VestraException(int status, string text, string command = "", string operation = "")
            : base($"{(operation.Length > 0 ? operation + ": " : "")}status {status}: {text.Trim()}")
        {
            Status = status;
            Text = text;
            Command = MaskSecrets(command);
            Operation = operation;
        }

        /// <summary>
        /// The record's status number: 0 refused or no reply, -101 not open,
        /// -102 login refused, ... (the <c>VX_STATUS_*</c> constants of
        /// <see cref="Native.Constants"/>).
        /// </summary>
        public int Status { get; }

        /// <summary>The library's error text: for status 0 the device's reply, or why nothing was sent.</summary>
        public string Text { get; }

        /// <summary>The device's reply, for a refused or unanswered command (status 0); otherwise null.</summary>
        public string? Reply => Status == Native.Constants.VX_STATUS_FAILED ? Text : null;

        /// <summary>The last command line sent on the record, if any; a password or digest in it shows as as many asterisks.</summary>
        public string Command { get; }

        /// <summary>The binding's name of what failed, such as <c>GetDevName</c>.</summary>
        public string Operation { get; }

        internal static string MaskSecrets(string command)
        {
            foreach (var (prefix, kept) in SecretLines)
            {
                if (!command.StartsWith(prefix, StringComparison.Ordinal)) continue;
                int from = prefix.Length;
                int end = command.IndexOfAny(new[] { '\r', '\n' }, from);
                if (end < 0) end = command.Length;
                for (int i = 0; i < kept && from < end; ++i)
                {
                    int sep = command.IndexOf(':', from, end - from);
                    from = sep < 0 ? end : sep + 1;
                }
                return command.Substring(0, from) + new string('*', end - from) + command.Substring(end);
            }
            return command;
        }
    }
}
