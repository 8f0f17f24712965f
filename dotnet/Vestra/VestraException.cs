using System;
using System.Text.RegularExpressions;

namespace Vestra
{
    /// <summary>An operation the library reported as failed.</summary>
    public sealed class VestraException : Exception
    {
        // The secret part of a login line: the digest, or a plain password.
        private static readonly Regex LoginSecret = new Regex(@"^(VX\+LOGIN(?:PWD)?=(?:[^:\r\n]*:)?)[^\r\n]*", RegexOptions.Compiled);

        /// <summary>Creates the error of one operation.</summary>
        /// <param name="status">The record's status number.</param>
        /// <param name="text">The library's error text.</param>
        /// <param name="command">The last command line sent on the record (a login line is masked).</param>
        /// <param name="operation">The binding's name of what failed.</param>
        public VestraException(int status, string text, string command = "", string operation = "")
            : base($"{(operation.Length > 0 ? operation + ": " : "")}status {status}: {text.Trim()}")
        {
            Status = status;
            Text = text;
            Command = MaskLogin(command);
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

        /// <summary>The last command line sent on the record, if any; a login line shows its digest masked.</summary>
        public string Command { get; }

        /// <summary>The binding's name of what failed, such as <c>GetDevName</c>.</summary>
        public string Operation { get; }

        internal static string MaskLogin(string command) => LoginSecret.Replace(command, "$1********");
    }
}
